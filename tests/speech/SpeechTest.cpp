// The Spanish voice reads the sample lesson into memory, and every word it reports lights the very
// word of the viewer's text that it said: ñ, accents, «¿», «» and all.
#include "lesson/ReadingUnits.h"
#include "lesson/SpokenText.h"
#include "lesson/TextMarkers.h"
#include "platform/RichViewer.h"
#include "platform/speech/EspeakSpeaker.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>

class SpeechTest : public QObject {
    Q_OBJECT

private slots:
    void everyWordHeardIsTheWordLit() {
        std::atomic<qint64> samples{0};
        EspeakSpeaker speaker([&](const short*, int count) { samples += count; });
        RichViewer viewer;
        viewer.load(QStringLiteral(DORVALIA_SAMPLES "/El_volcan_lec.rtf"));
        const QString shown = viewer.plainText();
        QSignalSpy words(&speaker, &Speaker::wordSpoken);
        QSignalSpy finished(&speaker, &Speaker::finished);
        QSignalSpy failed(&speaker, &Speaker::failed);
        const QRegularExpression word(QStringLiteral("[\\p{L}\\p{N}]+"));
        int litWords = 0;
        for (int n = 1; n <= 5; ++n) {
            const Span section = SectionBody(shown, n);
            QVERIFY(section.length() > 0);
            const SpokenText spoken(shown, section.start, section.end);
            words.clear();
            finished.clear();
            const qint64 before = samples;
            speaker.speak(spoken.text());
            QVERIFY(finished.wait(60000) || !finished.isEmpty());
            QCOMPARE(failed.size(), 0);
            QVERIFY(samples > before);

            // Each word lit is a whole word of the section, said as written, and the words are
            // lit in the order they are written.
            QStringList lit;
            int previous = section.start;
            int lastStart = -1;
            for (const QList<QVariant>& event : words) {
                const int at = event[0].toInt();
                const int length = event[1].toInt();
                const Span span = WordOnly(shown, spoken.shownSpan(at, length));
                const QString litWord = shown.mid(span.start, span.length());
                QVERIFY2(span.start >= previous && span.end <= section.end,
                         qPrintable(QStringLiteral("%1 at %2").arg(litWord).arg(at)));
                QVERIFY2(span.start == 0 || !shown[span.start - 1].isLetterOrNumber(),
                         qPrintable(litWord));
                QVERIFY2(span.end == shown.size() || !shown[span.end].isLetterOrNumber(),
                         qPrintable(litWord));
                const QString heard = spoken.text().mid(at, length);
                QVERIFY2(heard.contains(litWord), qPrintable(heard + " / " + litWord));
                previous = span.start;
                if (span.start != lastStart)
                    lit << litWord;
                lastStart = span.start;
            }
            // And none is missed.
            QStringList written;
            for (auto m = word.globalMatch(shown.mid(section.start, section.length()));
                 m.hasNext();)
                written << m.next().captured();
            QCOMPARE(lit.join(u' '), written.join(u' '));
            litWords += lit.size();
        }
        QVERIFY(litWords > 300);
    }

    void withoutTheVoicesDataAReadingFailsInSpanish() {
        const QTemporaryDir empty;
        qputenv("ESPEAK_DATA_PATH", empty.path().toLocal8Bit());
        EspeakSpeaker speaker([](const short*, int) {});
        QSignalSpy failed(&speaker, &Speaker::failed);
        speaker.speak(QStringLiteral("Hola"));
        QVERIFY(failed.wait(10000) || !failed.isEmpty());
        qunsetenv("ESPEAK_DATA_PATH");
        QCOMPARE(failed[0][0].toString(), SpeechMessages::noVoiceData());
        QVERIFY(!speaker.speaking());
    }
};

QTEST_MAIN(SpeechTest)
#include "SpeechTest.moc"
