// «Escuchar» in the lesson window with a voice that says nothing: what is read, the word lit, the
// keys, pause and resume, what stops the voice, a voice that fails, and a register that listening
// leaves untouched.
#include "lesson/PublishedKey.h"
#include "lesson/ReadingUnits.h"
#include "lesson/SpokenText.h"
#include "platform/RichViewer.h"
#include "tests/windows/FakeSpeaker.h"
#include "tests/windows/StudentWindows.h"
#include "windows/ListeningBar.h"
#include "windows/Unit1.h"
#include "windows/Unit3.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

using Fixture::whenModal;

namespace {

QString litWord(QTextEdit* box) {
    const auto lit = box->extraSelections();
    return lit.isEmpty() ? QString() : lit.back().cursor.selectedText();
}

} // namespace

class ListeningTest : public StudentWindowsTest {
    Q_OBJECT

    FakeSpeaker speaker_;

    RichViewer* viewer() { return in<RichViewer>(FormLeccion, "LectorDeSeccion"); }

    // Opens the lesson with listening, runs the steps and ends the lesson.
    void visit(const std::function<void()>& steps) {
        if (!FormLeccion->listening())
            FormLeccion->setSpeaker(speaker_);
        FormInicio->show();
        Boxes::answer(true, lessonPath("Leccion"));
        Boxes::answer(true, "Ana");
        whenModal(FormLeccion, [&] {
            activate(FormLeccion);
            steps();
            Boxes::answer(false); // end with sections unfinished
            click(FormLeccion, "BtTerminarLec");
        });
        click(FormInicio, "BtSelecLec");
    }

private slots:
    void readsTheSectionAndLightsTheWordHeard() {
        writeLesson("Leccion", {".Sección 1", ".Sección 2", ".Sección 3"}, kKey);
        visit([&] {
            pickSection(1);
            const int selection = viewer()->selectionStart();
            // A button's key presses it as a click does, a moment later.
            const auto readings = speaker_.readings.size();
            QTest::keyClick(FormLeccion, Qt::Key_F5);
            QTRY_COMPARE(speaker_.readings.size(), readings + 1);
            const QString shown = viewer()->plainText();
            const Span body = SectionBody(shown, 2);
            QCOMPARE(speaker_.readings.back().text, SpokenText(shown, body.start, body.end).text());
            const QString word =
                shown.mid(body.start, shown.indexOf(u' ', body.start) - body.start);
            speaker_.say(word);
            QCOMPARE(litWord(viewer()), word);
            // The window's own selection, the section's marker, is left alone.
            QCOMPARE(viewer()->selectionStart(), selection);

            // F6 pauses; F6 again reads on from the start of the word heard last.
            const quint64 paused = speaker_.readings.back().utterance;
            QTest::keyClick(FormLeccion, Qt::Key_F6);
            QTRY_COMPARE(in<QPushButton>(FormLeccion, "BtPausa")->text(), "Seguir (F6)");
            speaker_.say(word, paused); // late news of the paused reading lights nothing new
            click(FormLeccion, "BtPausa");
            QCOMPARE(speaker_.readings.size(), readings + 2);
            QCOMPARE(speaker_.readings.back().from, speaker_.readings.back().text.indexOf(word));
            QCOMPARE(in<QPushButton>(FormLeccion, "BtPausa")->text(), "Pausa (F6)");

            // F7 stops, and the light goes.
            QTest::keyClick(FormLeccion, Qt::Key_F7);
            QTRY_VERIFY(!speaker_.speaking());
            QVERIFY(viewer()->extraSelections().isEmpty());
        });
    }

    void readsFromTheWordClicked() {
        writeLesson("Leccion", {".Sección 1", ".Sección 2", ".Sección 3"}, kKey);
        visit([&] {
            pickSection(0);
            const QString shown = viewer()->plainText();
            const Span body = SectionBody(shown, 1);
            const int second = shown.indexOf(u' ', body.start) + 1;
            viewer()->setSelection(second + 1, 0);
            click(FormLeccion, "BtEscuchar");
            QCOMPARE(speaker_.readings.back().text, SpokenText(shown, second, body.end).text());
        });
    }

    // The voice and the speed chosen by keyboard are the next run's.
    void theVoiceAndSpeedChosenAreRemembered() {
        writeLesson("Leccion", {".Sección 1", ".Sección 2", ".Sección 3"}, kKey);
        visit([&] {
            for (const char* name : {"CbVoz", "CbVelocidad"}) {
                in<QWidget>(FormLeccion, name)->setFocus();
                key(Qt::Key_Down);
            }
        });
        FakeSpeaker next;
        TFormLeccion nextRun;
        nextRun.setSpeaker(next);
        QCOMPARE(next.voice(), QStringLiteral("es-419"));
        QCOMPARE(next.speed(), Speaker::Speed::Fast);
    }

    void movingAwayStopsTheVoice() {
        writeLesson("Leccion", {".Sección 1", ".Sección 2", ".Sección 3"}, kKey);
        visit([&] {
            pickSection(0);
            const auto listenAndCheckStoppedBy = [&](const std::function<void()>& move) {
                click(FormLeccion, "BtEscuchar");
                QVERIFY(speaker_.speaking());
                move();
                QVERIFY(!speaker_.speaking());
                QVERIFY(viewer()->extraSelections().isEmpty());
            };
            listenAndCheckStoppedBy([] { step(FormLeccion, "UpDownPregunta", "up"); });
            listenAndCheckStoppedBy([] { step(FormLeccion, "UpDownRespuesta", "up"); });
            listenAndCheckStoppedBy([] {
                Boxes::answer(false); // leave the section with questions unanswered
                pickSection(1);
            });
        });
    }

    void readsTheQuestionThenTheAnswer() {
        writeLesson("Leccion", {".Sección 1", ".Sección 2", ".Sección 3"}, kKey);
        visit([&] {
            pickSection(0);
            step(FormLeccion, "UpDownPregunta", "up");
            step(FormLeccion, "UpDownRespuesta", "up");
            QTest::keyClick(FormLeccion, Qt::Key_F8);
            QTRY_COMPARE(speaker_.readings.back().text, text(FormLeccion, "MemoPregunta"));
            speaker_.finish();
            QCOMPARE(speaker_.readings.back().text, text(FormLeccion, "MemoRespuesta"));
            speaker_.say(QStringLiteral("volcán"));
            QCOMPARE(in<QPlainTextEdit>(FormLeccion, "MemoRespuesta")
                         ->extraSelections()
                         .back()
                         .cursor.selectedText(),
                     "volcán");
        });
    }

    void aVoiceThatFailsSaysSoAndTheLessonGoesOn() {
        writeLesson("Leccion", {".Sección 1", ".Sección 2", ".Sección 3"}, kKey);
        visit([&] {
            pickSection(0);
            click(FormLeccion, "BtEscuchar");
            speaker_.fail(SpeechMessages::noVoiceData());
            QCOMPARE(Boxes::shown().back().text, SpeechMessages::noVoiceData());
            // A voice that stays silent fails the same way, by the speaker's own watch.
            speaker_.setSilenceLimit(1);
            const auto shown = Boxes::shown().size();
            click(FormLeccion, "BtEscuchar");
            QVERIFY(QTest::qWaitFor([&] { return Boxes::shown().size() > shown; }));
            QCOMPARE(Boxes::shown().back().kind, Boxes::Kind::Message);
            QCOMPARE(Boxes::shown().back().text, SpeechMessages::silent());
            speaker_.setSilenceLimit(0);
            QVERIFY(enabled(FormLeccion, "BtEscuchar"));
        });
    }

    void aLessonPublishedWithoutTheVoiceHidesItsControls() {
        writeLesson("Leccion", {".Sección 1", ".Sección 2", ".Sección 3"}, kKey);
        const QString plain = dir_.path() + "/Leccion_CRJ.TXT";
        Fixture::writeFile(dir_.path() + "/Leccion_CRJ.dvk",
                           SealKey(Fixture::readFile(plain), QStringLiteral("Leccion"), false));
        QFile::remove(plain);
        visit([&] {
            QVERIFY(!FormLeccion->listening()->isVisible());
            pickSection(0);
            const auto readings = speaker_.readings.size();
            QTest::keyClick(FormLeccion, Qt::Key_F5);
            QTest::qWait(300); // longer than a key's press of its button
            QCOMPARE(speaker_.readings.size(), readings);
        });
        // The next lesson, with a plain key, offers the voice again.
        writeLesson("Leccion", {".Sección 1", ".Sección 2", ".Sección 3"}, kKey);
        visit([&] { QVERIFY(FormLeccion->listening()->isVisible()); });
    }

    void listeningLeavesTheRegisterAsItWas() {
        writeLesson("Leccion", {".Sección 1", ".Sección 2", ".Sección 3"}, kKey);
        const QString registerPath = dir_.path() + "/Leccion07122026_reg.csv";
        const auto answer = [&](bool listen) {
            pickSection(0);
            if (listen)
                click(FormLeccion, "BtEscuchar");
            step(FormLeccion, "UpDownPregunta", "up");
            if (listen)
                click(FormLeccion, "BtEscucharCuestion");
            step(FormLeccion, "UpDownRespuesta", "up");
            if (listen) {
                click(FormLeccion, "BtEscucharCuestion");
                speaker_.say(QStringLiteral("volcán"));
            }
            click(FormLeccion, "BtAceptar");
        };
        QFile::remove(registerPath);
        visit([&] { answer(true); });
        const QByteArray listened = Fixture::readFile(registerPath);
        QFile::remove(registerPath);
        visit([&] { answer(false); });
        QCOMPARE(listened, Fixture::readFile(registerPath));
    }
};

int main(int argc, char** argv) {
    return StudentWindowsTest::run<ListeningTest>(argc, argv);
}

#include "ListeningTest.moc"
