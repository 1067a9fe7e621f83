// The lesson window driven as a student would, from the start window to the register: sections,
// questions, answers, the keyboard and the reading size (lessons that cannot open:
// LessonOpeningTest).

#include "tests/windows/StudentWindows.h"

#include "lesson/LessonFiles.h"
#include "lesson/Sections.h"
#include "platform/ListBox.h"
#include "platform/RichViewer.h"
#include "platform/UpDown.h"
#include "platform/core/Ansi.h"
#include "study/Visit.h"
#include "windows/Unit1.h"
#include "windows/Unit3.h"
#include "windows/Unit5.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>

using Fixture::whenModal;

class LessonWindowTest : public StudentWindowsTest {
    Q_OBJECT

private slots:
    // The whole study loop, from the start window to the register.
    void aWholeVisit() {
        writeLesson("Leccion", {".Sección 1", ".Sección 2", ".Sección 3"}, kKey);
        QFile::remove(dir_.path() + "/Leccion07122026_reg.csv");
        FormInicio->show();
        Boxes::answer(true, lessonPath("Leccion"));
        Boxes::answer(true, "Ana");
        bool walked = false;
        whenModal(FormLeccion, [&] {
            walkTheLesson();
            walked = true;
        });
        click(FormInicio, "BtSelecLec");
        QVERIFY(walked);
        QVERIFY(!FormLeccion->isVisible());

        const QByteArray expected =
            stringToAnsi(u"Ana,07/12/2026,Leccion\r\n"
                         u"Nombre,Sección,Cuestión,Respuesta,Juicio,1er intento\r\n"
                         u"Ana,1,1,0,Pendiente\r\n"
                         u"Ana,1,1,2,Incorrecta\r\n"
                         u"Ana,1,1,1,Correcta\r\n"
                         u"Ana,1,1,2,Incorrecta\r\n"
                         u"Ana,1,2,2,Correcta,si\r\n"
                         u"Ana,1,2,3,Pendiente\r\n"
                         u"Ana,2,1,1,Correcta,si\r\n");
        QCOMPARE(Fixture::readFile(dir_.path() + "/Leccion07122026_reg.csv"), expected);
        // Back in the start window, as the student left it.
        QVERIFY(FormInicio->isVisible());
    }

    // The same windows serve the next lesson: the opening starts afresh, and two visits of one
    // day share one register.
    void aSecondVisitStartsAfresh() {
        writeLesson("Dos", {".Sección 1", ".Sección 2"},
                    {".Sección 1", ".cUna", ".rSí", ".bBien", ".rNo", ".mMal", ".Sección 2",
                     ".cOtra", ".rSí", ".bBien"});
        QFile::remove(dir_.path() + "/Dos07122026_reg.csv");
        FormInicio->show();
        for (const QString& name : {QString("Ana"), QString("Luis")}) {
            Boxes::answer(true, lessonPath("Dos"));
            Boxes::answer(true, name);
            Boxes::answer(false); // "Trabajo Incompleto": No
            whenModal(FormLeccion, [&] {
                QCOMPARE(in<ListBox>(FormLeccion, "ListaDeSecciones")->selectedIndex(), -1);
                QCOMPARE(text(FormLeccion, "Npregunta"), QString("0"));
                QVERIFY(!enabled(FormLeccion, "BtAceptar"));
                QVERIFY(!enabled(FormLeccion, "BtResultados"));
                QVERIFY(!enabled(FormLeccion, "UpDownPregunta"));
                pickSection(0);
                step(FormLeccion, "UpDownPregunta", "up");
                step(FormLeccion, "UpDownRespuesta", "down"); // wraps to the last answer
                click(FormLeccion, "BtAceptar");
                QCOMPARE(lastBox(), box(Boxes::Kind::Information, "Incorrecta", "Mal"));
                click(FormLeccion, "BtTerminarLec");
            });
            click(FormInicio, "BtSelecLec");
            QVERIFY(!FormLeccion->isVisible());
        }
        QCOMPARE(Fixture::readFile(dir_.path() + "/Dos07122026_reg.csv"),
                 stringToAnsi(u"Ana,07/12/2026,Dos\r\n"
                              u"Nombre,Sección,Cuestión,Respuesta,Juicio,1er intento\r\n"
                              u"Ana,1,1,2,Incorrecta\r\n"
                              u"Luis,07/12/2026,Dos\r\n"
                              u"Nombre,Sección,Cuestión,Respuesta,Juicio,1er intento\r\n"
                              u"Luis,1,1,2,Incorrecta\r\n"));
    }

    // Section 2's marker is missing from the text: the student is told, and the list goes back to
    // the section whose questions are on screen, so the answer is recorded under that section.
    void aSectionMissingFromTheTextKeepsTheCurrentSection() {
        writeLesson("Hueco", {".Sección 1", ".Sección 3"},
                    {".Sección 1", ".cUna", ".rSí", ".bBien", ".Sección 2", ".cDos", ".rSí",
                     ".bBien", ".Sección 3", ".cTres", ".rSí", ".bBien"});
        QFile::remove(dir_.path() + "/Hueco07122026_reg.csv");
        FormInicio->show();
        Boxes::answer(true, lessonPath("Hueco"));
        Boxes::answer(true, "Ana");
        Boxes::answer(false); // "Faltan preguntas": No, leave section 1
        Boxes::answer(false); // "Trabajo Incompleto": No
        whenModal(FormLeccion, [&] {
            ListBox* list = in<ListBox>(FormLeccion, "ListaDeSecciones");
            QCOMPARE(list->count(), 3);
            pickSection(0);
            step(FormLeccion, "UpDownPregunta", "up");
            step(FormLeccion, "UpDownRespuesta", "up");
            pickSection(1);
            QCOMPARE(lastBox(), box(Boxes::Kind::Message, "lesson_window_test",
                                    "No se encuentra la .Sección 2"));
            QCOMPARE(list->selectedIndex(), 0);
            QCOMPARE(text(FormLeccion, "MemoPregunta"), QString("Una"));
            click(FormLeccion, "BtAceptar");
            click(FormLeccion, "BtTerminarLec");
        });
        click(FormInicio, "BtSelecLec");
        const QByteArray reg = Fixture::readFile(dir_.path() + "/Hueco07122026_reg.csv");
        QVERIFY2(reg.endsWith("Ana,1,1,1,Correcta,si\r\n"), reg.constData());
        QCOMPARE(Boxes::shown().back().text,
                 QString("Le falta terminar las secciones: 2, 3, \n\r¿Seguir estudiando?"));
    }

    // Section 2 is missing from the key: the student is told, no question of it can be chosen,
    // and the previous section's answer can no longer be accepted under its number.
    void aSectionMissingFromTheKeyOffersNoQuestions() {
        writeLesson("SinSeccion", {".Sección 1", ".Sección 2"},
                    {".Sección 1", ".cUna", ".rSí", ".bBien"});
        FormInicio->show();
        Boxes::answer(true, lessonPath("SinSeccion"));
        Boxes::answer(true, "Ana");
        Boxes::answer(false); // "Faltan preguntas": No, leave section 1
        Boxes::answer(false); // "Trabajo Incompleto": No
        whenModal(FormLeccion, [&] {
            pickSection(0);
            step(FormLeccion, "UpDownPregunta", "up");
            step(FormLeccion, "UpDownRespuesta", "up");
            QVERIFY(enabled(FormLeccion, "BtAceptar"));
            pickSection(1);
            QCOMPARE(lastBox(), box(Boxes::Kind::Message, "lesson_window_test",
                                    "No se encuentra .Sección 2 en el archivo SinSeccion_crj.txt"));
            QVERIFY(!enabled(FormLeccion, "UpDownPregunta"));
            QVERIFY(!enabled(FormLeccion, "BtAceptar"));
            QCOMPARE(text(FormLeccion, "MemoPregunta"), QString());
            QCOMPARE(text(FormLeccion, "Npregunta"), QString("0"));
            click(FormLeccion, "BtTerminarLec");
        });
        click(FormInicio, "BtSelecLec");
        QVERIFY(!FormLeccion->isVisible());
    }

    // The sample lesson that ships with the program: every section is in the text and the key,
    // every question has answers, and answering them all ends the lesson without a warning.
    void theSampleLessonWorksThroughout() {
        for (const char* name : {"El_volcan_lec.rtf", "El_volcan_CRJ.TXT"}) {
            QFile::remove(dir_.path() + u'/' + name);
            QVERIFY(QFile::copy(QString(DORVALIA_SAMPLES "/") + name, dir_.path() + u'/' + name));
        }
        FormInicio->show();
        Boxes::answer(true, lessonPath("El_volcan"));
        Boxes::answer(true, "Ana");
        int questions = 0;
        whenModal(FormLeccion, [&] {
            ListBox* list = in<ListBox>(FormLeccion, "ListaDeSecciones");
            QCOMPARE(list->count(), 5);
            for (int section = 0; section < 5; ++section) {
                pickSection(section);
                QCOMPARE(Boxes::shown().size(), 2 + questions);
                QVERIFY(enabled(FormLeccion, "UpDownPregunta"));
                const int count = in<UpDown>(FormLeccion, "UpDownPregunta")->maximum();
                QVERIFY(count >= 2);
                for (int q = 1; q <= count; ++q) {
                    step(FormLeccion, "UpDownPregunta", "up");
                    QVERIFY(!text(FormLeccion, "MemoPregunta").isEmpty());
                    QVERIFY(in<UpDown>(FormLeccion, "UpDownRespuesta")->maximum() >= 2);
                    step(FormLeccion, "UpDownRespuesta", "up");
                    click(FormLeccion, "BtAceptar");
                    ++questions;
                    const Boxes::Shown& verdict = Boxes::shown().back();
                    QCOMPARE(verdict.kind, Boxes::Kind::Information);
                    QVERIFY(QStringList({"Correcta", "Incorrecta", "Pendiente"})
                                .contains(verdict.caption));
                    QVERIFY(!verdict.text.isEmpty());
                }
            }
            click(FormLeccion, "BtTerminarLec");
        });
        click(FormInicio, "BtSelecLec");
        QVERIFY(!FormLeccion->isVisible());
        QVERIFY(questions >= 10);
    }

    // Pressing on section 1 and releasing on section 3 enters section 3; Ctrl with a click on
    // the chosen section keeps it chosen.
    void gesturesInTheSectionListEnterTheSectionLeftSelected() {
        writeLesson("Arrastre", {".Sección 1", ".Sección 2", ".Sección 3"}, kKey);
        FormInicio->show();
        Boxes::answer(true, lessonPath("Arrastre"));
        Boxes::answer(true, "Ana");
        Boxes::answer(false); // "Faltan preguntas" of section 1: No, leave it
        Boxes::answer(true);  // "Faltan preguntas" of section 3: Yes, stay
        Boxes::answer(false); // "Trabajo Incompleto": No
        whenModal(FormLeccion, [&] {
            ListBox* list = in<ListBox>(FormLeccion, "ListaDeSecciones");
            QWidget* port = list->viewport();
            const auto at = [list](int i) { return list->visualItemRect(list->item(i)).center(); };
            pickSection(0);
            step(FormLeccion, "UpDownPregunta", "up");
            QTest::mousePress(port, Qt::LeftButton, {}, at(0));
            QMouseEvent move(QEvent::MouseMove, at(2), port->mapToGlobal(at(2)), Qt::NoButton,
                             Qt::LeftButton, {});
            QApplication::sendEvent(port, &move);
            QTest::mouseRelease(port, Qt::LeftButton, {}, at(2));
            QCOMPARE(list->selectedIndex(), 2);
            QCOMPARE(topLine(in<RichViewer>(FormLeccion, "LectorDeSeccion")),
                     QString(".Sección 3"));
            QCOMPARE(text(FormLeccion, "MemoPregunta"), QString());
            QCOMPARE(in<UpDown>(FormLeccion, "UpDownPregunta")->maximum(), 1);
            QVERIFY(!enabled(FormLeccion, "BtAceptar"));
            QTest::mouseClick(port, Qt::LeftButton, Qt::ControlModifier, at(2));
            QCOMPARE(list->selectedIndex(), 2);
            QCOMPARE(lastBox(), box(Boxes::Kind::Question, "Faltan preguntas",
                                    "Le faltan algunas preguntas de la sección 3\n\r"
                                    "¿Seguir contestando esta sección?"));
            // Esc neither closes the window nor asks.
            const qsizetype boxes = Boxes::shown().size();
            QTest::keyClick(FormLeccion, Qt::Key_Escape);
            QVERIFY(FormLeccion->isVisible());
            QCOMPARE(Boxes::shown().size(), boxes);
            click(FormLeccion, "BtTerminarLec");
        });
        click(FormInicio, "BtSelecLec");
        QVERIFY(!FormLeccion->isVisible());
    }

    // A whole visit with Tab, the arrow keys, Enter and Space only.
    void aWholeVisitWithTheKeyboard() {
        writeLesson("Teclado", {".Sección 1"},
                    {".Sección 1", ".cUna", ".rSí", ".bBien", ".rNo", ".mMal"});
        QFile::remove(dir_.path() + "/Teclado07122026_reg.csv");
        FormInicio->show();
        activate(FormInicio);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("BtSelecLec"));
        Boxes::answer(true, lessonPath("Teclado"));
        Boxes::answer(true, "Ana");
        QStringList focus;
        QStringList marks;
        whenModal(FormLeccion, [&] {
            activate(FormLeccion);
            focus << QApplication::focusWidget()->objectName();
            focus << key(Qt::Key_Down) << key(Qt::Key_Tab) << key(Qt::Key_Up) << key(Qt::Key_Tab)
                  << key(Qt::Key_Up) << key(Qt::Key_Tab);
            QCOMPARE(text(FormLeccion, "MemoRespuesta"), QString("Sí"));
            focus << key(Qt::Key_Return);
            QCOMPARE(lastBox(), box(Boxes::Kind::Information, "Correcta", "Bien"));
            focus << key(Qt::Key_Tab) << key(Qt::Key_Tab) << key(Qt::Key_Tab) << key(Qt::Key_Tab);
            whenModal(Resultados, [&] {
                activate(Resultados);
                QVERIFY(QTest::qWaitForWindowActive(Resultados));
                marks = Resultados->markTexts();
                focus << QApplication::focusWidget()->objectName();
                focus << key(Qt::Key_Enter);
            });
            key(Qt::Key_Return);
            activate(FormLeccion); // as the desktop does when it closes
            focus << QApplication::focusWidget()->objectName();
            focus << key(Qt::Key_Tab, Qt::ShiftModifier) << key(Qt::Key_Tab, Qt::ShiftModifier)
                  << key(Qt::Key_Tab, Qt::ShiftModifier);
            key(Qt::Key_Space);
        });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        // Choosing a section brings the reading into view and the keys to it.
        QCOMPARE(focus,
                 QStringList({"ListaDeSecciones", "LectorDeSeccion", "Npregunta", "Npregunta",
                              "Nrespuesta", "Nrespuesta", "BtAceptar", "BtAceptar", "BtTerminarLec",
                              "MemoPregunta", "MemoRespuesta", "BtResultados", "Button1", "",
                              "BtResultados", "MemoRespuesta", "MemoPregunta", "BtTerminarLec"}));
        QCOMPARE(marks, QStringList({"100", "0"}));
        QVERIFY(!FormLeccion->isVisible());
        QCOMPARE(Fixture::readFile(dir_.path() + "/Teclado07122026_reg.csv"),
                 stringToAnsi(u"Ana,07/12/2026,Teclado\r\n"
                              u"Nombre,Sección,Cuestión,Respuesta,Juicio,1er intento\r\n"
                              u"Ana,1,1,1,Correcta,si\r\n"));
    }

    // Controls are named in Spanish for assistive technology; the start window is a window.
    void controlsHaveSpanishAccessibleNames() {
        const auto name = [](QObject* o) {
            return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Name);
        };
        QCOMPARE(QAccessible::queryAccessibleInterface(FormInicio)->role(), QAccessible::Window);
        const QList<std::pair<const char*, const char*>> names = {
            {"ListaDeSecciones", "Secciones"},      {"LectorDeSeccion", "Texto de la lección"},
            {"Npregunta", "Número de cuestión"},    {"Nrespuesta", "Número de respuesta"},
            {"MemoPregunta", "Cuestión"},           {"MemoRespuesta", "Respuesta"},
            {"Image1", "Ilustración de la lectura"}};
        for (const auto& [control, expected] : names)
            QCOMPARE(name(in<QWidget>(FormLeccion, control)), QString(expected));
        QCOMPARE(name(in<UpDown>(FormLeccion, "UpDownRespuesta")->findChild<QToolButton*>("down")),
                 QString("Respuesta anterior"));
    }

    // The reading size follows Ctrl and +, comes back in the next run, and the first run keeps
    // the designed sizes. Enlarging the window keeps "VER RESPUESTAS" beside its selector.
    void theReadingSizeIsRememberedAndTheLayoutFollowsItsAnchors() {
        QCOMPARE(in<QPlainTextEdit>(FormLeccion, "MemoPregunta")->font().pointSize(), 10);
        FormLeccion->show();
        activate(FormLeccion);
        QTest::keyClick(in<QWidget>(FormLeccion, "Npregunta"), Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(in<QPlainTextEdit>(FormLeccion, "MemoRespuesta")->font().pointSize(), 11);
        QWidget* label = in<QWidget>(FormLeccion, "LRespuesta");
        QWidget* number = in<QWidget>(FormLeccion, "Nrespuesta");
        FormLeccion->resize(FormLeccion->width() + 200, FormLeccion->height() + 200);
        QCOMPARE(label->x(), 654 + 200);
        // Held at the right only, it keeps its share of the height: it follows its selector down.
        QVERIFY(label->y() > 438 + 100);
        QVERIFY(label->geometry().bottom() <= number->geometry().bottom());
        TFormLeccion next;
        QCOMPARE(in<QPlainTextEdit>(&next, "MemoPregunta")->font().pointSize(), 11);
        FormLeccion->hide();
    }

private:
    void walkTheLesson();
};

void LessonWindowTest::walkTheLesson() {
    QWidget* w = FormLeccion;
    ListBox* list = in<ListBox>(w, "ListaDeSecciones");
    RichViewer* viewer = in<RichViewer>(w, "LectorDeSeccion");

    QCOMPARE(w->windowTitle(), QString("Leccion"));
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(2)->text(), QString("Sección 3"));
    QCOMPARE(list->selectedIndex(), -1);
    QVERIFY(!enabled(w, "UpDownPregunta"));
    QVERIFY(!enabled(w, "UpDownRespuesta"));
    QVERIFY(in<QLineEdit>(w, "Nrespuesta")->isReadOnly()); // no question, no answer to type
    QVERIFY(!enabled(w, "BtResultados"));
    QVERIFY(!enabled(w, "BtAceptar"));

    // The last section first: its marker comes to the top of the viewer.
    pickSection(2);
    QCOMPARE(topLine(viewer), QString(".Sección 3"));
    QCOMPARE(viewer->selectionLength(), 10);
    QCOMPARE(Boxes::shown().size(), 2); // file and name only: nothing was pending
    // Section 3's question is pending now: leaving asks, and No leaves.
    Boxes::answer(false);
    pickSection(0);
    QCOMPARE(lastBox(), box(Boxes::Kind::Question, "Faltan preguntas",
                            "Le faltan algunas preguntas de la sección 3\n\r"
                            "¿Seguir contestando esta sección?"));
    QCOMPARE(topLine(viewer), QString(".Sección 1"));
    QVERIFY(enabled(w, "UpDownPregunta"));

    // The question selector wraps at both ends of the section's three questions.
    step(w, "UpDownPregunta", "up");
    QCOMPARE(text(w, "Npregunta"), QString("1"));
    QCOMPARE(text(w, "MemoPregunta"), QString("¿Qué dice el primer párrafo?"));
    QVERIFY(enabled(w, "UpDownRespuesta"));
    QVERIFY(!in<QLineEdit>(w, "Nrespuesta")->isReadOnly());
    step(w, "UpDownPregunta", "down");
    QCOMPARE(text(w, "Npregunta"), QString("0"));
    QCOMPARE(text(w, "MemoPregunta"), QString());
    QVERIFY(!enabled(w, "UpDownRespuesta"));
    step(w, "UpDownPregunta", "down");
    QCOMPARE(text(w, "Npregunta"), QString("3"));
    QCOMPARE(text(w, "MemoPregunta"), QString("¿Dónde está la isla?"));
    step(w, "UpDownPregunta", "up");
    step(w, "UpDownPregunta", "up");
    QCOMPARE(text(w, "Npregunta"), QString("1"));

    // Each answer, then none of the above.
    step(w, "UpDownRespuesta", "up");
    QCOMPARE(text(w, "MemoRespuesta"), QString("Que el volcán duerme."));
    QVERIFY(enabled(w, "BtAceptar"));
    step(w, "UpDownRespuesta", "up");
    QCOMPARE(text(w, "MemoRespuesta"), QString("Que el volcán ruge."));
    step(w, "UpDownRespuesta", "up");
    QCOMPARE(text(w, "Nrespuesta"), QString("0"));
    QCOMPARE(text(w, "MemoRespuesta"), QString("      NINGUNA DE LAS ANTERIORES"));
    QVERIFY(enabled(w, "BtAceptar"));

    click(w, "BtAceptar");
    QCOMPARE(lastBox(), box(Boxes::Kind::Information, "Pendiente", "NINGUNA DE LAS RESPUESTAS"));
    QVERIFY(enabled(w, "BtResultados"));
    step(w, "UpDownRespuesta", "down");
    QCOMPARE(text(w, "Nrespuesta"), QString("2"));
    click(w, "BtAceptar");
    QCOMPARE(lastBox(), box(Boxes::Kind::Information, "Incorrecta", "No: relee la primera frase."));
    step(w, "UpDownRespuesta", "down");
    click(w, "BtAceptar");
    QCOMPARE(lastBox(),
             box(Boxes::Kind::Information, "Correcta", "Bien: lo dice la primera frase."));

    // A typed answer number that the selector does not offer is put back.
    QLineEdit* nrespuesta = in<QLineEdit>(w, "Nrespuesta");
    nrespuesta->setText("9");
    QCOMPARE(nrespuesta->text(), QString("1"));
    nrespuesta->setText("2");
    QCOMPARE(text(w, "MemoRespuesta"), QString("Que el volcán ruge."));
    click(w, "BtAceptar"); // a second wrong answer: counted, not "si" later

    // Changing the question empties the answer and disables accepting.
    step(w, "UpDownPregunta", "up");
    QCOMPARE(text(w, "Nrespuesta"), QString("0"));
    QCOMPARE(text(w, "MemoRespuesta"), QString());
    QVERIFY(!enabled(w, "BtAceptar"));
    step(w, "UpDownRespuesta", "up");
    step(w, "UpDownRespuesta", "up");
    click(w, "BtAceptar");
    QCOMPARE(lastBox(), box(Boxes::Kind::Information, "Correcta", "¡Eso es!"));
    step(w, "UpDownRespuesta", "up");
    click(w, "BtAceptar");
    QCOMPARE(lastBox(), box(Boxes::Kind::Information, "Pendiente", "Piénsalo otra vez."));

    // Question 3 is still unanswered: leaving is asked, and Yes keeps the section.
    Boxes::answer(true);
    pickSection(1);
    QCOMPARE(lastBox(), box(Boxes::Kind::Question, "Faltan preguntas",
                            "Le faltan algunas preguntas de la sección 1\n\r"
                            "¿Seguir contestando esta sección?"));
    QCOMPARE(list->selectedIndex(), 0);
    QCOMPARE(text(w, "Npregunta"), QString("2"));
    Boxes::answer(false);
    pickSection(1);
    QCOMPARE(list->selectedIndex(), 1);
    QCOMPARE(text(w, "Npregunta"), QString("0"));
    QCOMPARE(topLine(viewer), QString(".Sección 2"));
    step(w, "UpDownPregunta", "up");
    step(w, "UpDownRespuesta", "up");
    click(w, "BtAceptar");
    QCOMPARE(lastBox(), box(Boxes::Kind::Information, "Correcta", "Correcto, en mayúsculas."));

    // The results at this point: 3 correct, 2 incorrect, 2 pending.
    QStringList marks;
    QString correctas;
    whenModal(Resultados, [&] {
        marks = Resultados->markTexts();
        correctas = text(Resultados, "Correctas");
        click(Resultados, "Button1");
    });
    click(w, "BtResultados");
    QCOMPARE(correctas, QString("Respuestas Correctas: 3"));
    QCOMPARE(marks, QStringList({"42.9", "28.6", "28.6"}));
    QVERIFY(w->isVisible());

    // Ending with sections 1 and 3 unfinished: Yes stays, No saves and closes.
    Boxes::answer(true);
    click(w, "BtTerminarLec");
    QCOMPARE(lastBox(), box(Boxes::Kind::Question, "Trabajo Incompleto",
                            "Le falta terminar las secciones: 1, 3, \n\r¿Seguir estudiando?"));
    QVERIFY(w->isVisible());
    Boxes::answer(false);
    click(w, "BtTerminarLec");
}

int main(int argc, char** argv) {
    return StudentWindowsTest::run<LessonWindowTest>(argc, argv);
}

#include "LessonWindowTest.moc"
