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

#include <QAction>
#include <QFile>
#include <QLabel>
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
            // Said once, where the controls would be.
            QVERIFY(FormLeccion->listening()->notice()->isVisible());
            QVERIFY(FormLeccion->listening()->notice()->text().contains("sin voz"));
            pickSection(0);
            const auto readings = speaker_.readings.size();
            QTest::keyClick(FormLeccion, Qt::Key_F5);
            QTest::qWait(300); // longer than a key's press of its button
            QCOMPARE(speaker_.readings.size(), readings);
        });
        // The next lesson, with a plain key, offers the voice again.
        writeLesson("Leccion", {".Sección 1", ".Sección 2", ".Sección 3"}, kKey);
        visit([&] {
            QVERIFY(FormLeccion->listening()->isVisible());
            QVERIFY(!FormLeccion->listening()->notice()->isVisible());
        });
    }

    // The keys belong to the window: they act at once, however often they are pressed and
    // whatever their buttons show.
    void theKeysKeepWorkingAfterManyPresses() {
        writeLesson("Leccion", {".Sección 1", ".Sección 2", ".Sección 3"}, kKey);
        visit([&] {
            pickSection(0);
            step(FormLeccion, "UpDownPregunta", "up");
            for (int round = 0; round < 8; ++round) {
                auto readings = speaker_.readings.size();
                QTest::keyClick(FormLeccion, Qt::Key_F5);
                QCOMPARE(speaker_.readings.size(), ++readings);
                speaker_.say(QStringLiteral("texto"));
                for (int press = 1; press <= 5; ++press) {
                    QTest::keyClick(FormLeccion, Qt::Key_F6);
                    QCOMPARE(speaker_.paused(), press % 2 == 1);
                }
                QTest::keyClick(FormLeccion, Qt::Key_F8);
                QCOMPARE(speaker_.readings.back().text, text(FormLeccion, "MemoPregunta"));
                QTest::keyClick(FormLeccion, Qt::Key_F7);
                QVERIFY(!speaker_.speaking() && !speaker_.paused());
            }
        });
    }

    // No box is read behind: the voice waits, and «Seguir» goes on from the word it was saying.
    void everyBoxPausesTheVoice() {
        writeLesson("Leccion", {".Sección 1", ".Sección 2", ".Sección 3"}, kKey);
        QString path;
        const struct {
            bool asks;
            std::function<void()> show;
        } boxes[] = {
            {true, [] { Boxes::question("Pregunta", "¿Sí?"); }},
            {false, [] { Boxes::information("Correcta", "Bien"); }},
            {false, [] { Boxes::message("Mensaje"); }},
            {false, [] { Boxes::error("Error"); }},
            {true, [&] { Boxes::input("Nombre", "Escribe tu nombre", path); }},
            {true, [&] { Boxes::openFile("Lecciones|*_lec.rtf", path); }},
            {true, [&] { Boxes::chooseFolder("Carpeta", path); }},
            {true, [&] { Boxes::saveFile("Guardar", "Libro de Excel|*.xlsx", path); }},
            {true,
             [] {
                 Boxes::choose("Elegir", "¿Cuál?", {"Uno", "Dos"}, 1);
             }},
            {true, [] { Boxes::scriptedDialog(Boxes::Kind::Print, "Imprimir", ""); }},
        };
        QObject probe;
        bool readBehind = false;
        visit([&] {
            // Told after the voice is.
            Boxes::watch(&probe,
                         [&](bool opening) { readBehind |= opening && speaker_.speaking(); });
            pickSection(0);
            for (const auto& box : boxes) {
                click(FormLeccion, "BtEscuchar");
                speaker_.say(QStringLiteral("relleno"));
                if (box.asks)
                    Boxes::answer(false);
                box.show();
                QVERIFY(!readBehind);
                QCOMPARE(in<QPushButton>(FormLeccion, "BtPausa")->text(), "Seguir (F6)");
                QTest::keyClick(FormLeccion, Qt::Key_F6);
                QCOMPARE(speaker_.readings.back().from,
                         speaker_.readings.back().text.indexOf("relleno"));
            }
            // The lesson's own box, keeping the student in the section.
            Boxes::answer(true);
            pickSection(1);
            QCOMPARE(Boxes::shown().back().caption, "Faltan preguntas");
            QVERIFY(!readBehind);
        });
    }

    void theVerdictAndTheFeedbackAreReadAloud() {
        writeLesson("Leccion", {".Sección 1", ".Sección 2", ".Sección 3"}, kKey);
        visit([&] {
            pickSection(0);
            step(FormLeccion, "UpDownPregunta", "up");
            step(FormLeccion, "UpDownRespuesta", "up");
            // By the button of the verdict's box; its reading ends with the box.
            Boxes::answer(true, ListeningBar::verdictButtonText());
            click(FormLeccion, "BtAceptar");
            QCOMPARE(speaker_.readings.back().text, "Correcta. Bien: lo dice la primera frase.");
            QVERIFY(!speaker_.speaking());
            // By itself, once the student chose so.
            FormLeccion->findChild<QAction*>("AcLeerVeredicto")->trigger();
            step(FormLeccion, "UpDownRespuesta", "up");
            click(FormLeccion, "BtAceptar");
            QCOMPARE(speaker_.readings.back().text, "Incorrecta. No: relee la primera frase.");
        });
    }

    void sentenceBySentenceAgainAndBack() {
        writeLesson("Leccion", {".Sección 1", ".Sección 2", ".Sección 3"}, kKey);
        visit([&] {
            pickSection(0);
            click(FormLeccion, "BtEscuchar");
            speaker_.say(QStringLiteral("Párrafo 2"));
            QTest::keyClick(FormLeccion, Qt::Key_F3);
            QVERIFY(speaker_.readings.back().text.startsWith("Párrafo 2 de"));
            speaker_.say(QStringLiteral("Párrafo 2"));
            QTest::keyClick(FormLeccion, Qt::Key_F2);
            QVERIFY(speaker_.readings.back().text.startsWith("Párrafo 1 de"));
            // Stopping after each sentence until the student goes on.
            FormLeccion->findChild<QAction*>("AcFraseAFrase")->trigger();
            speaker_.say(QStringLiteral("tenga"));
            speaker_.say(QStringLiteral("Párrafo 2"));
            QVERIFY(speaker_.paused());
            QCOMPARE(litWord(viewer()), "tenga");
            QTest::keyClick(FormLeccion, Qt::Key_F6);
            QCOMPARE(speaker_.readings.back().from,
                     speaker_.readings.back().text.indexOf("Párrafo 2"));
        });
    }

    // Syllables are lit as their sounds are heard: «tex» through its «e», «k», «s»; «to» from its
    // «t».
    void syllablesFollowTheSounds() {
        writeLesson("Leccion", {".Sección 1", ".Sección 2", ".Sección 3"}, kKey);
        visit([&] {
            FormLeccion->findChild<QAction*>("AcPorSilabas")->trigger();
            pickSection(0);
            click(FormLeccion, "BtEscuchar");
            speaker_.say(QStringLiteral("texto"));
            const struct {
                bool vowel;
                const char* lit;
            } sounds[] = {{false, "tex"}, {true, "tex"}, {false, "tex"},
                          {false, "tex"}, {false, "to"}, {true, "to"}};
            for (const auto& s : sounds) {
                speaker_.sound(s.vowel);
                QCOMPARE(litWord(viewer()), QString::fromUtf8(s.lit));
            }
        });
    }

    // A line broken inside a paragraph does not end the sentence the tint shows.
    void theTintGoesOnAcrossALineBreak() {
        writeLesson("Leccion", {".Sección 1", ".Sección 2", ".Sección 3"}, kKey);
        Fixture::writeFile(lessonPath("Leccion"),
                           "{\\rtf1\\ansi{\\b .Secci\\'f3n 1}\\par\n"
                           "El volc\\'e1n duerme\\line bajo la nieve. Otra frase.\\par\n"
                           "{\\b .Secci\\'f3n 2}\\par\n{\\b .Secci\\'f3n 3}\\par}\n");
        visit([&] {
            pickSection(0);
            click(FormLeccion, "BtEscuchar");
            speaker_.say(QStringLiteral("nieve"));
            QCOMPARE(viewer()->extraSelections().front().cursor.selectedText(),
                     QString::fromUtf8("El volcán duerme\u2028bajo la nieve."));
        });
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
