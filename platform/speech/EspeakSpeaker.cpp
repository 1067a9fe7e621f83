#include "platform/speech/EspeakSpeaker.h"

#include <espeak-ng/speak_lib.h>

#include <QCoreApplication>
#include <QDir>
#include <QMetaObject>

#include <cstring>

namespace {

// The library calls back a plain function; there is one speaker per process.
std::atomic<EspeakSpeaker*> theSpeaker{nullptr};

int wordsPerMinute(Speaker::Speed speed) {
    switch (speed) {
    case Speaker::Speed::VerySlow:
        return 80;
    case Speaker::Speed::Slow:
        return 115;
    case Speaker::Speed::Fast:
        return 200;
    case Speaker::Speed::Normal:
        break;
    }
    return 155;
}

// The library's rate and the pause it adds after each word (in its own units, longer at a slower
// rate). Its rate goes no lower than 80, which with a reading's own pauses is near 100 words a
// minute; the pause after each word brings that to about 70, each word still said whole and at a
// pace the ear knows.
struct Rate {
    int wordsPerMinute;
    int wordGap;
};

Rate rateOf(Speaker::Speed speed) {
    if (speed == Speaker::Speed::VerySlow)
        return {80, 7};
    return {wordsPerMinute(speed), 0};
}

// The library names its sounds: «a», «eI», «j», «w» are vowels or glides, «_» a pause, the rest
// consonants («T», «tS», «**», «J^»).
enum class SoundKind { Vowel, Consonant, Pause };

SoundKind soundOf(const espeak_EVENT* event) {
    const char* name = event->id.string;
    if (name[0] == '_' || name[0] == '\0')
        return SoundKind::Pause;
    if (std::strchr("aeiouAEIOU", name[0]) || ((name[0] == 'j' || name[0] == 'w') && !name[1]))
        return SoundKind::Vowel;
    return SoundKind::Consonant;
}

quint64 utteranceOf(const espeak_EVENT* event) {
    return static_cast<quint64>(reinterpret_cast<quintptr>(event->user_data));
}

} // namespace

// The library's callback, on the library's thread in playback and on the speaker's thread in
// memory. Returning 1 makes the library drop the rest of the text.
struct EspeakCalls {
    static int callback(short* samples, int count, espeak_EVENT* events) {
        EspeakSpeaker* speaker = theSpeaker.load();
        if (!speaker)
            return 1;
        for (espeak_EVENT* event = events; event->type != espeakEVENT_LIST_TERMINATED; ++event) {
            const quint64 utterance = utteranceOf(event);
            if (utterance <= speaker->cancelledUpTo_.load())
                return 1;
            if (event->type == espeakEVENT_WORD)
                QMetaObject::invokeMethod(
                    speaker,
                    [speaker, utterance, at = event->text_position, n = event->length,
                     ms = event->audio_position] { speaker->onWord(utterance, at, n, ms); },
                    Qt::QueuedConnection);
            else if (event->type == espeakEVENT_PHONEME) {
                const SoundKind kind = soundOf(event);
                if (kind == SoundKind::Pause)
                    continue;
                QMetaObject::invokeMethod(
                    speaker,
                    [speaker, utterance, vowel = kind == SoundKind::Vowel,
                     ms = event->audio_position] { speaker->onSound(utterance, vowel, ms); },
                    Qt::QueuedConnection);
            } else if (event->type == espeakEVENT_MSG_TERMINATED)
                speaker->reportFinished(utterance);
        }
        if (samples && count > 0 && speaker->sink_)
            speaker->sink_(samples, count);
        return 0;
    }
};

EspeakSpeaker::EspeakSpeaker(QObject* parent) : EspeakSpeaker(Sink(), parent) {}

EspeakSpeaker::EspeakSpeaker(Sink memory, QObject* parent)
    : Speaker(parent), sink_(std::move(memory)) {
    theSpeaker = this;
    worker_ = new QObject;
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.setObjectName(QStringLiteral("voz"));
    thread_.start();
    QMetaObject::invokeMethod(worker_, [this] { initialize(); });
}

EspeakSpeaker::~EspeakSpeaker() {
    cancelledUpTo_ = ~quint64(0);
    QMetaObject::invokeMethod(
        worker_,
        [this] {
            if (ready_)
                espeak_Terminate();
        },
        Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
    theSpeaker = nullptr;
}

void EspeakSpeaker::initialize() {
    const auto output = sink_ ? AUDIO_OUTPUT_SYNCHRONOUS : AUDIO_OUTPUT_PLAYBACK;
#ifdef Q_OS_WIN
    // The Windows build carries its own voice data, in espeak-ng-data beside the program; the
    // library reads it by the path in the system's code page.
    const QByteArray data =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toLocal8Bit();
    const char* path = data.constData();
#else
    const char* path = nullptr; // the system's data, where its package put it
#endif
    // Without its data the library would end the program; told not to, it reports the failure.
    // The sounds of each word time its syllables as they are lit.
    ready_ = espeak_Initialize(output, 0, path,
                               espeakINITIALIZE_DONT_EXIT | espeakINITIALIZE_PHONEME_EVENTS) > 0;
    if (!ready_)
        return;
    espeak_SetSynthCallback(&EspeakCalls::callback);
    // Loading the voice now spares the first reading its dictionary.
    if (espeak_SetVoiceByName(voice().toUtf8().constData()) == EE_OK)
        loadedVoice_ = voice();
}

void EspeakSpeaker::start(quint64 utterance, const QString& text, int from) {
    // The library counts code points; the window counts UTF-16 units.
    positions_.clear();
    for (int i = from; i < text.size(); ++i) {
        positions_.push_back(i);
        if (text[i].isHighSurrogate() && i + 1 < text.size())
            ++i;
    }
    positions_.push_back(text.size());
    positionsOf_ = utterance;
    QMetaObject::invokeMethod(worker_, [this, utterance, utf8 = text.mid(from).toUtf8(),
                                        rate = rateOf(speed()), name = voice()] {
        synthesize(utterance, utf8, rate.wordsPerMinute, rate.wordGap, name);
    });
}

void EspeakSpeaker::synthesize(quint64 utterance, const QByteArray& utf8, int wpm, int wordGap,
                               const QString& voice) {
    if (utterance <= cancelledUpTo_.load())
        return;
    if (!ready_) {
        reportFailed(utterance, SpeechMessages::noVoiceData());
        return;
    }
    if (voice != loadedVoice_) {
        if (espeak_SetVoiceByName(voice.toUtf8().constData()) != EE_OK) {
            loadedVoice_.clear();
            reportFailed(utterance, SpeechMessages::noVoiceData());
            return;
        }
        loadedVoice_ = voice;
    }
    espeak_SetParameter(espeakRATE, wpm, 0);
    espeak_SetParameter(espeakWORDGAP, wordGap, 0);
    unsigned int id = 0;
    const espeak_ERROR status =
        espeak_Synth(utf8.constData(), utf8.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, &id,
                     reinterpret_cast<void*>(static_cast<quintptr>(utterance)));
    if (status != EE_OK)
        reportFailed(utterance, SpeechMessages::engineError(status));
    else if (sink_ && utterance > cancelledUpTo_.load())
        reportFinished(utterance); // in memory the library says nothing at the end
}

void EspeakSpeaker::cancel() {
    cancelledUpTo_ = std::max(cancelledUpTo_.load(), current());
    if (!sink_)
        QMetaObject::invokeMethod(worker_, [] { espeak_Cancel(); });
}

void EspeakSpeaker::onWord(quint64 utterance, int codePoint, int codePoints, int milliseconds) {
    // The library also reports words of no length, at clause starts and out of order: nothing to
    // light.
    if (utterance != positionsOf_ || codePoints <= 0)
        return;
    // Positions are counted from 1; a word reported past the end is the end.
    const int last = static_cast<int>(positions_.size()) - 1;
    const int first = std::clamp(codePoint - 1, 0, last);
    const int end = std::clamp(first + std::max(codePoints, 0), first, last);
    emit wordAudio(positions_[first], milliseconds);
    reportWord(utterance, positions_[first], positions_[end] - positions_[first]);
}

void EspeakSpeaker::onSound(quint64 utterance, bool vowel, int milliseconds) {
    if (utterance != positionsOf_)
        return;
    emit soundAudio(milliseconds);
    reportSound(utterance, vowel);
}
