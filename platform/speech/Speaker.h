#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

// A voice that reads a text aloud and says which word it is saying. The engine behind it may speak
// from another thread: its reports reach this object's thread tagged with the utterance they
// belong to, and those of an utterance that was stopped or replaced are dropped here, so a slot of
// wordSpoken never lights a word of a reading that is over.
class Speaker : public QObject {
    Q_OBJECT

public:
    // On a reading with its pauses, about 70, 130, 180 and 230 words a minute.
    enum class Speed { VerySlow, Slow, Normal, Fast };

    // A reading that hears no word for this long fails: the engine reports success and stays
    // silent where there is no sound device.
    static constexpr int kSilenceLimitMs = 5000;

    explicit Speaker(QObject* parent = nullptr);

    // Reads text from the UTF-16 position from to its end; stops whatever was being read.
    void speak(const QString& text, int from = 0);
    void stop();
    // Stops, remembering the word being said; resume() reads again from that word's start.
    void pause();
    void resume();
    bool speaking() const { return utterance_ != 0; }
    bool paused() const { return paused_; }

    // Apply to what is read next; a reading under way goes on from its current word.
    void setSpeed(Speed speed);
    Speed speed() const { return speed_; }
    // "es" (Castilian) or "es-419" (Latin American).
    void setVoice(const QString& voice);
    QString voice() const { return voice_; }

    void setSilenceLimit(int ms) { silence_.setInterval(ms); }

    static QString voiceForLocale(const QLocale& locale);

signals:
    // A word of the text is being said: positions in UTF-16 units of the text given to speak().
    void wordSpoken(int position, int length);
    // A sound of the word last reported is being said: a vowel (or a glide) or a consonant.
    void soundSpoken(bool vowel);
    void finished();
    void failed(const QString& message);

protected:
    // Starts saying text from from; earlier utterances have been cancelled.
    virtual void start(quint64 utterance, const QString& text, int from) = 0;
    virtual void cancel() = 0;

    // Safe from any thread.
    void reportWord(quint64 utterance, int position, int length);
    void reportSound(quint64 utterance, bool vowel);
    void reportFinished(quint64 utterance);
    void reportFailed(quint64 utterance, const QString& message);
    quint64 current() const { return utterance_; }

private:
    void restartFromWord();
    void end();

    quint64 utterance_ = 0; // 0: nothing being read
    quint64 last_ = 0;
    QString text_;
    int wordStart_ = 0;
    bool paused_ = false;
    bool heard_ = false;
    Speed speed_ = Speed::Normal;
    QString voice_ = QStringLiteral("es");
    QTimer silence_;
};

// The messages the student reads when the voice cannot be heard.
namespace SpeechMessages {
QString noVoiceData();
QString silent();
QString engineError(int code);
} // namespace SpeechMessages
