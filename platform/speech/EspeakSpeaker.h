#pragma once

#include "platform/speech/Speaker.h"

#include <QThread>

#include <atomic>
#include <functional>
#include <vector>

struct EspeakCalls;

// The Spanish voice of espeak-ng, used through its library. The library is one per process, so
// there is one EspeakSpeaker; it is made early and loads the voice on a thread of its own, and
// every call into the library is made from that thread, so that the window never waits on it.
class EspeakSpeaker : public Speaker {
    Q_OBJECT

public:
    // Played on the sound device; or synthesized into memory, each block of 16-bit samples given
    // to the sink on the speaker's thread (tests and measurements).
    using Sink = std::function<void(const short* samples, int count)>;
    explicit EspeakSpeaker(QObject* parent = nullptr);
    explicit EspeakSpeaker(Sink memory, QObject* parent = nullptr);
    ~EspeakSpeaker() override;

    static constexpr int kSampleRate = 22050;

signals:
    // Just before wordSpoken: where in the reading's sound the word starts, for measurements.
    void wordAudio(int position, int milliseconds);
    // Just before soundSpoken: where in the reading's sound the sound starts.
    void soundAudio(int milliseconds);

protected:
    void start(quint64 utterance, const QString& text, int from) override;
    void cancel() override;

private:
    friend struct EspeakCalls;
    void initialize();
    void synthesize(quint64 utterance, const QByteArray& utf8, int speed, int wordGap,
                    const QString& voice);
    void onWord(quint64 utterance, int codePoint, int codePoints, int milliseconds);
    void onSound(quint64 utterance, bool vowel, int milliseconds);

    Sink sink_;
    QThread thread_;
    QObject* worker_ = nullptr; // lives on thread_
    // On thread_ only: whether the library started, and the voice it has loaded.
    bool ready_ = false;
    QString loadedVoice_;
    std::atomic<quint64> cancelledUpTo_{0};

    // The text being read, as the engine counts it: the UTF-16 position of each code point.
    std::vector<int> positions_;
    quint64 positionsOf_ = 0;
};
