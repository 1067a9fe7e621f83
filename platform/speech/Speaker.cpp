#include "platform/speech/Speaker.h"

#include <QLocale>
#include <QMetaObject>

Speaker::Speaker(QObject* parent) : QObject(parent) {
    silence_.setSingleShot(true);
    silence_.setInterval(kSilenceLimitMs);
    connect(&silence_, &QTimer::timeout, this, [this] {
        if (!heard_ && speaking())
            reportFailed(utterance_, SpeechMessages::silent());
    });
}

void Speaker::speak(const QString& text, int from) {
    if (speaking())
        cancel();
    text_ = text;
    wordStart_ = from;
    paused_ = false;
    heard_ = false;
    utterance_ = ++last_;
    if (silence_.interval() > 0)
        silence_.start();
    start(utterance_, text_, from);
}

void Speaker::stop() {
    paused_ = false;
    if (speaking()) {
        cancel();
        end();
    }
}

void Speaker::pause() {
    if (!speaking())
        return;
    cancel();
    end();
    paused_ = true;
}

void Speaker::resume() {
    if (paused_)
        speak(text_, wordStart_);
}

void Speaker::setSpeed(Speed speed) {
    if (speed == speed_)
        return;
    speed_ = speed;
    restartFromWord();
}

void Speaker::setVoice(const QString& voice) {
    if (voice == voice_)
        return;
    voice_ = voice;
    restartFromWord();
}

void Speaker::restartFromWord() {
    if (speaking())
        speak(text_, wordStart_);
}

void Speaker::end() {
    utterance_ = 0;
    silence_.stop();
}

QString Speaker::voiceForLocale(const QLocale& locale) {
    // A system in Spanish outside Spain hears the Latin American voice; Spain, and a system in
    // another language, the Castilian one.
    const auto territory = locale.territory();
    if (territory == QLocale::Spain || territory == QLocale::AnyTerritory)
        return QStringLiteral("es");
    return locale.language() == QLocale::Spanish ? QStringLiteral("es-419") : QStringLiteral("es");
}

void Speaker::reportWord(quint64 utterance, int position, int length) {
    QMetaObject::invokeMethod(
        this,
        [this, utterance, position, length] {
            if (utterance != utterance_)
                return;
            heard_ = true;
            silence_.stop();
            wordStart_ = position;
            emit wordSpoken(position, length);
        },
        Qt::AutoConnection);
}

void Speaker::reportSound(quint64 utterance, bool vowel) {
    QMetaObject::invokeMethod(
        this,
        [this, utterance, vowel] {
            if (utterance == utterance_)
                emit soundSpoken(vowel);
        },
        Qt::AutoConnection);
}

void Speaker::reportFinished(quint64 utterance) {
    QMetaObject::invokeMethod(
        this,
        [this, utterance] {
            if (utterance != utterance_)
                return;
            end();
            emit finished();
        },
        Qt::AutoConnection);
}

void Speaker::reportFailed(quint64 utterance, const QString& message) {
    QMetaObject::invokeMethod(
        this,
        [this, utterance, message] {
            if (utterance != utterance_)
                return;
            cancel();
            end();
            emit failed(message);
        },
        Qt::AutoConnection);
}

namespace SpeechMessages {

QString noVoiceData() {
    return QStringLiteral("No se puede escuchar la lección: falta la voz en español de este "
                          "ordenador (espeak-ng-data). La lección sigue sin voz.");
}

QString silent() {
    return QStringLiteral("No se oye la voz: este ordenador no tiene salida de sonido o no "
                          "funciona. La lección sigue sin voz.");
}

QString engineError(int code) {
    return QStringLiteral("La voz ha fallado (error %1). La lección sigue sin voz.").arg(code);
}

} // namespace SpeechMessages
