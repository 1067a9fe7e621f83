// Read-aloud's delays as a student meets them, against the sound itself: from «Escuchar» (a
// click, or its key F5, in turns) to the first sound, and from each word's sound to its light,
// and from each syllable's first sound to its light when read by syllables. The voice plays into a
// PulseAudio null sink whose monitor parec records; each block read is stamped on the same steady
// clock as the clicks and the lights (scripts/voice-bench sets the sink up). A word's sound time is
// the first sound's time plus where the word starts in the reading's sound, as the voice reports
// it; the first sound's place in that sound is found once by synthesizing the same text into
// memory. Under Wine the recording comes on standard input (monitor "-"), from parec on the Linux
// side. Not a test: it prints figures. No Qt Test: the Windows Qt is built without it.
#include "lesson/ReadingUnits.h"
#include "lesson/SpokenText.h"
#include "lesson/TextMarkers.h"
#include "platform/RichViewer.h"
#include "platform/speech/EspeakSpeaker.h"
#include "windows/ListeningBar.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

// The toolkit's own way in for a key pressed in a window, before the window sees it: the
// window's shortcuts answer it as they answer the keyboard.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods,
                                               const QString& text = QString(),
                                               bool autorep = false, ushort count = 1);

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point origin, Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(t - origin).count();
}

constexpr int kLoud = 64; // above the null sink's silence, far below speech

// Runs the event loop, as the program does, until done() or ms have passed; whether done().
template <typename Done> bool waitFor(Done done, int ms) {
    QEventLoop loop;
    QTimer poll;
    poll.callOnTimeout([&] {
        if (done())
            loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    return done();
}

// Reads the sink's monitor on a thread of its own, so that the window's work never delays a
// block's stamp. After arm(), the first loud sample's time. The monitor "-": the recording, in
// parec's format, on standard input. It lives as long as the process: its thread reads until the
// recording ends with it.
class Recorder {
public:
    explicit Recorder(const std::string& monitor) {
        if (monitor == "-") {
#ifdef _WIN32
            _setmode(_fileno(stdin), _O_BINARY);
#endif
            pipe_ = stdin;
        } else {
            pipe_ = popen((std::string("parec --raw --format=s16le --channels=1 --rate=") +
                           std::to_string(EspeakSpeaker::kSampleRate) + " --latency-msec=5 -d " +
                           monitor)
                              .c_str(),
                          "r");
        }
        if (!pipe_)
            std::abort();
        std::thread([this] { run(); }).detach();
    }
    void arm() {
        std::lock_guard lock(mutex_);
        armed_ = true;
        heard_.reset();
    }
    std::optional<Clock::time_point> heard() {
        std::lock_guard lock(mutex_);
        return heard_;
    }
    // Whether the sink has been silent for the last ms: a reading's end is reported before its
    // last sound leaves the sink's buffer, and that sound must not pass for the next one's.
    bool silentFor(int ms) {
        std::lock_guard lock(mutex_);
        return Clock::now() - lastLoud_ > std::chrono::milliseconds(ms);
    }

private:
    void run() {
        short block[256];
        for (;;) {
            const size_t n = fread(block, sizeof(short), 256, pipe_);
            const auto now = Clock::now();
            if (n == 0)
                break;
            std::lock_guard lock(mutex_);
            if (std::any_of(block, block + n, [](short s) { return std::abs(s) > kLoud; }))
                lastLoud_ = now;
            if (!armed_ || heard_)
                continue;
            for (size_t i = 0; i < n; ++i)
                if (std::abs(block[i]) > kLoud) {
                    // The block's last sample is the one just recorded.
                    const double behind = double(n - i) * 1000.0 / EspeakSpeaker::kSampleRate;
                    heard_ = now - std::chrono::microseconds(qint64(behind * 1000));
                    break;
                }
        }
    }

    FILE* pipe_;
    std::mutex mutex_;
    bool armed_ = false;
    std::optional<Clock::time_point> heard_;
    Clock::time_point lastLoud_;
};

// Where the first loud sample of the reading of each text lies in its sound, in milliseconds. One
// voice in memory for them all: the library is started and ended once per voice.
std::vector<double> leadingSilences(const QStringList& texts) {
    std::atomic<qint64> samples{0};
    std::atomic<qint64> firstLoud{-1};
    EspeakSpeaker memory([&](const short* block, int count) {
        for (int i = 0; i < count && firstLoud < 0; ++i)
            if (std::abs(block[i]) > kLoud)
                firstLoud = samples + i;
        samples += count;
    });
    memory.setSilenceLimit(0);
    std::vector<double> leads;
    for (const QString& text : texts) {
        samples = 0;
        firstLoud = -1;
        memory.speak(text);
        if (!waitFor([&] { return !memory.speaking(); }, 60000))
            std::abort();
        leads.push_back(double(firstLoud) * 1000.0 / EspeakSpeaker::kSampleRate);
    }
    return leads;
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[std::min<size_t>(values.size() - 1, p * values.size())];
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each section's line as it is measured
    const char* monitor = argc > 2 ? argv[2] : "dorvalia_bench.monitor";
    const int sections = argc > 3 ? std::atoi(argv[3]) : 3;
    QWidget window;
    auto* viewer = new RichViewer(&window);
    viewer->load(QString::fromLocal8Bit(argc > 1 ? argv[1] : "El_volcan_lec.rtf"));
    auto* question = new QPlainTextEdit(&window);
    auto* answer = new QPlainTextEdit(&window);
    window.resize(800, 600);
    viewer->setGeometry(16, 24, 627, 289);
    window.show();
    const QString shown = viewer->plainText();

    QStringList texts;
    for (int n = 1; n <= sections; ++n) {
        const Span body = SectionBody(shown, n);
        texts << SpokenText(shown, body.start, body.end).text();
    }
    const std::vector<double> leads = leadingSilences(texts);

    Recorder& recorder = *new Recorder(monitor);
    EspeakSpeaker speaker;
    ListeningBar bar(&window, speaker, viewer, question, answer);
    auto* listen = bar.findChild<QPushButton*>(QStringLiteral("BtEscuchar"));
    std::vector<int> audioMs;
    std::vector<std::pair<int, Clock::time_point>> lit; // the sound's place of each word, its light
    QObject::connect(&speaker, &EspeakSpeaker::wordAudio,
                     [&](int, int ms) { audioMs.push_back(ms); });
    QObject::connect(&bar, &ListeningBar::wordLit,
                     [&](int) { lit.emplace_back(audioMs.back(), Clock::now()); });
    // Read by syllables: each syllable after a word's first is lit on one of its sounds.
    int soundMs = 0;
    std::vector<std::pair<int, Clock::time_point>> syllables;
    QObject::connect(&speaker, &EspeakSpeaker::soundAudio, [&](int ms) { soundMs = ms; });
    QObject::connect(&bar, &ListeningBar::syllableLit,
                     [&](int) { syllables.emplace_back(soundMs, Clock::now()); });
    QAction* bySyllables = bar.findChild<QAction*>(QStringLiteral("AcPorSilabas"));
    const bool syllablesChosen = bySyllables->isChecked();
    bySyllables->setChecked(true);
    window.activateWindow();
    waitFor([] { return false; }, 1000); // the voice loads, as it does while the about box is shown

    std::vector<double> clicks, keys, lags, syllableLags;
    for (int n = 1; n <= sections; ++n) {
        audioMs.clear();
        lit.clear();
        syllables.clear();
        viewer->setSelection(FindSectionMarker(shown, n), 0);
        if (!waitFor([&] { return recorder.silentFor(1000); }, 30000))
            std::printf("section %d: the sink never fell silent\n", n);
        recorder.arm();
        const bool byKey = n % 2 == 0;
        const auto click = Clock::now();
        if (byKey)
            qt_sendShortcutOverrideEvent(&window, 0, Qt::Key_F5, Qt::NoModifier);
        else
            listen->click();
        if (!waitFor([&] { return !speaker.speaking(); }, 180000))
            std::printf("section %d: still reading after three minutes\n", n);
        const auto heard = recorder.heard();
        if (!heard) {
            std::printf("section %d: no sound reached the sink\n", n);
            return 1;
        }
        (byKey ? keys : clicks).push_back(msSince(click, *heard));
        std::vector<double> sectionLags;
        for (const auto& [ms, at] : lit)
            sectionLags.push_back(msSince(*heard, at) - (ms - leads[n - 1]));
        for (const auto& [ms, at] : syllables)
            syllableLags.push_back(msSince(*heard, at) - (ms - leads[n - 1]));
        std::printf("section %d: first sound %.0f ms after the %s; %zu words, light after "
                    "sound: median %.0f ms, 90%% %.0f ms, max %.0f ms, min %.0f ms\n",
                    n, msSince(click, *heard), byKey ? "key F5" : "click", sectionLags.size(),
                    percentile(sectionLags, 0.5), percentile(sectionLags, 0.9),
                    percentile(sectionLags, 1.0), percentile(sectionLags, 0.0));
        lags.insert(lags.end(), sectionLags.begin(), sectionLags.end());
    }
    bySyllables->setChecked(syllablesChosen); // the student's own choice back as it was
    std::printf("all: first sound after a click median %.0f ms, max %.0f ms; after F5 median "
                "%.0f ms, max %.0f ms\n",
                percentile(clicks, 0.5), percentile(clicks, 1.0), percentile(keys, 0.5),
                percentile(keys, 1.0));
    std::printf("all: %zu words, light after sound median %.0f ms, 90%% %.0f ms, 95%% %.0f ms, "
                "max %.0f ms, min %.0f ms\n",
                lags.size(), percentile(lags, 0.5), percentile(lags, 0.9), percentile(lags, 0.95),
                percentile(lags, 1.0), percentile(lags, 0.0));
    std::printf("all: %zu syllables, light after sound median %.0f ms, 95%% %.0f ms, max %.0f "
                "ms, min %.0f ms\n",
                syllableLags.size(), percentile(syllableLags, 0.5), percentile(syllableLags, 0.95),
                percentile(syllableLags, 1.0), percentile(syllableLags, 0.0));
    return 0;
}
