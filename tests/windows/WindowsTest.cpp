#include "LessonFixture.h"

#include "Ansi.h"
#include "Application.h"
#include "BarChartView.h"
#include "Boxes.h"
#include "Clock.h"
#include "LessonFiles.h"
#include "ListBox.h"
#include "RichViewer.h"
#include "Sections.h"
#include "Unit1.h"
#include "Unit3.h"
#include "Unit5.h"
#include "UpDown.h"
#include "Visit.h"

#include <QAccessible>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>

#include <array>

using Fixture::whenModal;

namespace {

template <class T> T* in(QWidget* window, const char* name) {
    T* w = window->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

void click(QWidget* window, const char* name) {
    QTest::mouseClick(in<QAbstractButton>(window, name), Qt::LeftButton);
}

void step(QWidget* window, const char* upDown, const char* arrow) {
    QTest::mouseClick(in<UpDown>(window, upDown)->findChild<QToolButton*>(arrow), Qt::LeftButton);
}

void pickSection(int index) {
    ListBox* list = in<ListBox>(FormLeccion, "ListaDeSecciones");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(index)).center());
}

// A key for the widget with the keyboard focus; gives the name of the one that has it after.
QString key(int k, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return QString("(no focus)");
    QTest::keyClick(focus, Qt::Key(k), modifiers);
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

QString text(QWidget* window, const char* name) {
    QWidget* w = in<QWidget>(window, name);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
        return memo->toPlainText();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    return QString();
}

bool enabled(QWidget* window, const char* name) {
    return in<QWidget>(window, name)->isEnabled();
}

// The last box shown, as "kind|caption|text".
QString lastBox() {
    if (Boxes::shown().isEmpty())
        return QString();
    const Boxes::Shown& b = Boxes::shown().back();
    return QString::number(int(b.kind)) + u'|' + b.caption + u'|' + b.text;
}

QString box(Boxes::Kind kind, const QString& caption, const QString& text) {
    return QString::number(int(kind)) + u'|' + caption + u'|' + text;
}

// No reading size is left from one test to the next, nor to other programs' tests.
void forgetSettings() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Dorvalia", "Dorvalia").clear();
}

// The text of the viewer's first visible line.
QString topLine(RichViewer* viewer) {
    QTextCursor c = viewer->cursorForPosition(QPoint(4, 4));
    return c.block().text();
}

const QStringList kKey = {
    ".Sección 1",
    ".c¿Qué dice el primer párrafo?",
    ".rQue el volcán duerme.",
    ".bBien: lo dice la primera frase.",
    ".rQue el volcán ruge.",
    ".mNo: relee la primera frase.",
    ".c¿Quién es Lucía?",
    ".rLa abuela.",
    ".mNo: Lucía es la nieta.",
    ".rLa nieta.",
    ".b¡Eso es!",
    ".rUna científica.",
    ".pPiénsalo otra vez.",
    ".c¿Dónde está la isla?",
    ".rEn el mar.",
    ".bSí.",
    ".Sección 2",
    ".cPregunta única de la sección 2",
    ".rRespuesta buena",
    ".BCorrecto, en mayúsculas.",
    ".Sección 3",
    ".cPregunta de la sección 3",
    ".rSí",
    ".bBien",
};

} // namespace

class WindowsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString home_;

    QString lessonPath(const QString& name) const { return dir_.path() + u'/' + name + "_lec.rtf"; }

    void writeLesson(const QString& name, const QStringList& markers, const QStringList& key) {
        Fixture::writeFile(lessonPath(name), Fixture::lessonText(markers));
        Fixture::writeFile(dir_.path() + u'/' + name + "_CRJ.TXT", Fixture::keyText(key));
    }

private slots:
    void initTestCase() {
        home_ = QDir::currentPath();
        Clock::setNow(QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
        Clock::setShortDatePattern(QStringLiteral("dd/MM/yyyy"));
    }

    void cleanupTestCase() { forgetSettings(); }

    void init() {
        forgetSettings();
        QDir::setCurrent(dir_.path());
        Boxes::startScript();
        FormInicio = new TFormInicio();
        FormLeccion = new TFormLeccion(FormInicio);
        Resultados = new TResultados(FormLeccion);
    }

    void cleanup() {
        QCOMPARE(Boxes::unanswered(), 0);
        QCOMPARE(Boxes::unusedAnswers(), 0);
        Boxes::stopScript();
        delete FormInicio;
        FormInicio = nullptr;
        FormLeccion = nullptr;
        Resultados = nullptr;
        QDir::setCurrent(home_);
    }

    void missingDocumentsShowTheirLinesAndTheButtonsToggle() {
        QFile::remove("dorvalia_intro.rtf");
        QFile::remove("dorvalia_instrucciones.rtf");
        FormInicio->show();
        RichViewer* memo = in<RichViewer>(FormInicio, "MemoIntro");
        QCOMPARE(memo->plainText(), QString("No se encuentra el archivo \"dorvalia_intro.rtf\""));
        QVERIFY(!enabled(FormInicio, "btIntro"));
        QVERIFY(enabled(FormInicio, "BtInstrucc"));

        click(FormInicio, "BtInstrucc");
        QCOMPARE(memo->plainText(), QString("No se encuentra \"dorvalia_instrucciones.rtf\"."));
        QVERIFY(enabled(FormInicio, "btIntro"));
        QVERIFY(!enabled(FormInicio, "BtInstrucc"));

        click(FormInicio, "btIntro");
        QCOMPARE(memo->plainText(), QString("No se encuentra el archivo \"dorvalia_intro.rtf\""));
        QVERIFY(!enabled(FormInicio, "btIntro"));
    }

    void documentsAreShownAsRichText() {
        for (const char* name : {"dorvalia_intro.rtf", "dorvalia_instrucciones.rtf"}) {
            QFile::remove(name);
            QVERIFY(QFile::copy(QString(DORVALIA_SAMPLES "/") + name, name));
        }
        FormInicio->show();
        RichViewer* memo = in<RichViewer>(FormInicio, "MemoIntro");
        QVERIFY(memo->plainText().startsWith("Bienvenido a Dorvalia"));
        QTextCursor title(memo->document());
        title.movePosition(QTextCursor::NextCharacter);
        QCOMPARE(title.charFormat().fontWeight(), int(QFont::Bold));
        click(FormInicio, "BtInstrucc");
        QVERIFY(memo->plainText().startsWith("Instrucciones"));
        QVERIFY(memo->plainText().contains("Seleccionar lección"));
        QFile::remove("dorvalia_intro.rtf");
        QFile::remove("dorvalia_instrucciones.rtf");
    }

    void terminarAsksBeforeEnding() {
        FormInicio->show();
        // No: the program goes on (the loop ends only when the guard stops it).
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [] { qApp->exit(7); });
        Boxes::answer(false);
        QTimer::singleShot(0, [] { click(FormInicio, "Btterminar"); });
        guard.start(300);
        QCOMPARE(qApp->exec(), 7);
        QCOMPARE(lastBox(),
                 box(Boxes::Kind::Question, "Fin del programa", "¿Quiere cerrar este programa?"));
        // Yes: the event loop ends at once.
        Boxes::answer(true);
        QTimer::singleShot(0, [] { click(FormInicio, "Btterminar"); });
        guard.start(5000);
        QCOMPARE(qApp->exec(), 0);
        guard.stop();
    }

    void cancellingTheFileDialogAsksNothing() {
        FormInicio->show();
        const QString before = in<RichViewer>(FormInicio, "MemoIntro")->plainText();
        Boxes::answer(false);
        click(FormInicio, "BtSelecLec");
        QCOMPARE(Boxes::shown().size(), 1);
        QCOMPARE(Boxes::shown()[0].kind, Boxes::Kind::OpenFile);
        QCOMPARE(Boxes::shown()[0].text, QString("Lecciones|*_lec.rtf"));
        QCOMPARE(in<RichViewer>(FormInicio, "MemoIntro")->plainText(), before);
        QVERIFY(!FormLeccion->isVisible());
    }

    void aCancelledNameOpensTheLessonWithAnEmptyName() {
        writeLesson("Mi_tema_de_hoy", {".Sección 1"}, {".Sección 1", ".cUna", ".rSí", ".bBien"});
        FormInicio->show();
        NombreAlumno = QStringLiteral("Antes");
        Boxes::answer(true, lessonPath("Mi_tema_de_hoy"));
        Boxes::answer(false); // the name prompt
        Boxes::answer(false); // "Trabajo Incompleto": No, end the lesson
        bool opened = false;
        whenModal(FormLeccion, [&] {
            opened = FormLeccion->isVisible();
            click(FormLeccion, "BtTerminarLec");
        });
        click(FormInicio, "BtSelecLec");
        QVERIFY(opened);
        QVERIFY(!FormLeccion->isVisible());
        QCOMPARE(NombreAlumno.str(), QString());
        QCOMPARE(NombreLeccion.str(), QString("Mi_tema_de_hoy"));
        QCOMPARE(DirLeccion.str(), dir_.path() + u'/');
        QCOMPARE(Boxes::shown()[1].caption, QString("Nombre"));
        QCOMPARE(Boxes::shown()[1].text, QString("Escribe tu Nombre: "));
        QCOMPARE(FormLeccion->windowTitle(), QString("Mi_tema_de_hoy"));
        // The register's lines of a nameless student begin with ",".
        const QByteArray reg = Fixture::readFile(dir_.path() + "/Mi_tema_de_hoy07122026_reg.csv");
        QCOMPARE(reg, QByteArray(",07/12/2026,Mi_tema_de_hoy\r\n"
                                 "Nombre,Secci\xf3n,Cuesti\xf3n,Respuesta,Juicio,1er intento\r\n"));
    }

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
            QCOMPARE(lastBox(),
                     box(Boxes::Kind::Message, "windows_test", "No se encuentra la .Sección 2"));
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
            QCOMPARE(lastBox(), box(Boxes::Kind::Message, "windows_test",
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

    void resultsShowTheSharesOfEachVerdict() {
        NombreAlumno = QStringLiteral("Beatriz");
        NombreLeccion = QStringLiteral("Tema");
        NumCorrectas = 2;
        NumIncorrectas = 1;
        NumPendientes = 0;
        QStringList marks;
        QStringList labels;
        QList<qreal> values;
        whenModal(Resultados, [&] {
            marks = Resultados->markTexts();
            for (const ChartBar& bar : in<BarChartView>(Resultados, "Chart1")->chart().bars) {
                labels.append(bar.label);
                values.append(bar.value);
            }
            QCOMPARE(text(Resultados, "Nombre"), QString("Nombre: Beatriz"));
            QCOMPARE(text(Resultados, "Leccion"), QString("Lección: Tema"));
            QCOMPARE(text(Resultados, "Correctas"), QString("Respuestas Correctas: 2"));
            QCOMPARE(text(Resultados, "Incorrectas"), QString("Respuestas Incorrectas: 1"));
            click(Resultados, "Button1");
        });
        Resultados->ShowResults();
        QCOMPARE(labels, QStringList({"Correctas", "Incorrectas"}));
        QCOMPARE(marks, QStringList({"66.7", "33.3"}));
        QVERIFY(qAbs(values[0] - 200.0 / 3) < 1e-9);
        QVERIFY(qAbs(values[1] - 100.0 / 3) < 1e-9);

        // Only pending answers: the other two bars stand at 0 and show it.
        NumCorrectas = 0;
        NumIncorrectas = 0;
        NumPendientes = 4;
        whenModal(Resultados, [&] {
            marks = Resultados->markTexts();
            click(Resultados, "Button1");
        });
        Resultados->ShowResults();
        QCOMPARE(marks, QStringList({"0", "0", "100"}));
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
        QApplication::setActiveWindow(FormInicio);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("BtSelecLec"));
        Boxes::answer(true, lessonPath("Teclado"));
        Boxes::answer(true, "Ana");
        QStringList focus;
        QStringList marks;
        whenModal(FormLeccion, [&] {
            QApplication::setActiveWindow(FormLeccion);
            focus << QApplication::focusWidget()->objectName();
            focus << key(Qt::Key_Down) << key(Qt::Key_Tab) << key(Qt::Key_Up) << key(Qt::Key_Tab)
                  << key(Qt::Key_Up) << key(Qt::Key_Tab);
            QCOMPARE(text(FormLeccion, "MemoRespuesta"), QString("Sí"));
            focus << key(Qt::Key_Return);
            QCOMPARE(lastBox(), box(Boxes::Kind::Information, "Correcta", "Bien"));
            focus << key(Qt::Key_Tab) << key(Qt::Key_Tab) << key(Qt::Key_Tab) << key(Qt::Key_Tab);
            whenModal(Resultados, [&] {
                QApplication::setActiveWindow(Resultados);
                QVERIFY(QTest::qWaitForWindowActive(Resultados));
                marks = Resultados->markTexts();
                focus << QApplication::focusWidget()->objectName();
                focus << key(Qt::Key_Enter);
            });
            key(Qt::Key_Return);
            QApplication::setActiveWindow(FormLeccion); // as the desktop does when it closes
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
                              "MemoPregunta", "MemoRespuesta", "BtResultados", "Chart1", "",
                              "BtResultados", "MemoRespuesta", "MemoPregunta", "BtTerminarLec"}));
        QCOMPARE(marks, QStringList({"100", "0"}));
        QVERIFY(!FormLeccion->isVisible());
        QCOMPARE(Fixture::readFile(dir_.path() + "/Teclado07122026_reg.csv"),
                 stringToAnsi(u"Ana,07/12/2026,Teclado\r\n"
                              u"Nombre,Sección,Cuestión,Respuesta,Juicio,1er intento\r\n"
                              u"Ana,1,1,1,Correcta,si\r\n"));
    }

    // Every mark, from 0 to 100, and its line stay inside the chart, clear of the title and of
    // each other.
    void everyMarkStaysClearOfTheTitleAndTheOthers() {
        for (const auto& c : {std::array{5, 0, 0}, std::array{0, 0, 4}}) {
            NumCorrectas = c[0];
            NumIncorrectas = c[1];
            NumPendientes = c[2];
            QList<QRectF> drawn; // the marks with their lines, and the title
            QRectF chart;
            whenModal(Resultados, [&] {
                drawn = Resultados->markRects() << Resultados->titleRect();
                chart = Resultados->chartRect();
                click(Resultados, "Button1");
            });
            Resultados->ShowResults();
            QCOMPARE(drawn.size(), c[2] ? 4 : 3);
            for (qsizetype i = 0; i < drawn.size(); ++i) {
                QVERIFY(chart.contains(drawn[i]));
                for (qsizetype j = i + 1; j < drawn.size(); ++j)
                    QVERIFY(!drawn[i].intersects(drawn[j]));
            }
        }
    }

    // Painted into a picture, the chart shows the green, red and blue bars side by side, each
    // as high as its share of the axis.
    void theChartsPictureShowsEachBarAtItsHeight() {
        NumCorrectas = 1;
        NumIncorrectas = 1;
        NumPendientes = 2;
        QImage picture;
        QRectF plot;
        whenModal(Resultados, [&] {
            auto* chart = in<BarChartView>(Resultados, "Chart1");
            picture = QImage(chart->size(), QImage::Format_RGB32);
            chart->render(&picture);
            plot = chart->chartLayout().plot;
            click(Resultados, "Button1");
        });
        Resultados->ShowResults();
        const std::array<std::pair<QColor, double>, 3> bars = {
            {{QColor(0, 128, 0), 25}, {QColor(255, 0, 0), 25}, {QColor(0, 0, 255), 50}}};
        int lastRight = -1;
        for (const auto& [colour, share] : bars) {
            // Inside the plot: the titles around it are blue too.
            const QRect area = plot.toAlignedRect() & picture.rect();
            QRect found;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    if (picture.pixelColor(x, y) == colour)
                        found |= QRect(x, y, 1, 1);
                }
            }
            QVERIFY2(!found.isEmpty(), qPrintable(colour.name()));
            QVERIFY(found.left() > lastRight);
            lastRight = found.right();
            QVERIFY(found.width() > 20);
            QVERIFY(qAbs(found.bottom() + 1 - plot.bottom()) <= 1.5);
            QVERIFY2(qAbs(found.height() - share / 100 * plot.height()) <= 1.5,
                     qPrintable(QString::number(found.height())));
        }
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
        QApplication::setActiveWindow(FormLeccion);
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

    void aMissingKeyEndsInTheErrorBoxAndTheLessonStillCloses() {
        Fixture::writeFile(lessonPath("SinClave"), Fixture::lessonText({".Sección 1"}));
        FormInicio->show();
        NumSecciones = 0;
        SeccionesPendientes.clear();
        Boxes::answer(true, lessonPath("SinClave"));
        Boxes::answer(true, "Ana");
        bool stayedOpen = false;
        whenModal(FormLeccion, [&] {
            stayedOpen = FormLeccion->isVisible();
            QCOMPARE(in<ListBox>(FormLeccion, "ListaDeSecciones")->count(), 0);
            click(FormLeccion, "BtTerminarLec");
        });
        click(FormInicio, "BtSelecLec");
        QVERIFY(stayedOpen);
        QCOMPARE(Boxes::shown()[2].kind, Boxes::Kind::Error);
        QCOMPARE(Boxes::shown()[2].caption, QString("windows_test"));
        QCOMPARE(Boxes::shown()[2].text, "Cannot open file " + dir_.path() + "/SinClave_CRJ.TXT.");
        // The error shows over the lesson window, already on screen.
        QCOMPARE(Boxes::shown()[2].over, FormLeccion);
        QVERIFY(!FormLeccion->isVisible());
        QCOMPARE(Fixture::readFile(dir_.path() + "/SinClave07122026_reg.csv"),
                 QByteArray("Ana,07/12/2026,SinClave\r\n"
                            "Nombre,Secci\xf3n,Cuesti\xf3n,Respuesta,Juicio,1er intento\r\n"));
    }

    void aMissingTextOrABadLastMarkerStopsTheOpening() {
        FormInicio->show();
        NumSecciones = 0;
        SeccionesPendientes.clear();
        Fixture::writeFile(dir_.path() + "/SinTexto_CRJ.TXT", Fixture::keyText({".Sección 1"}));
        writeLesson("MalMarcada", {".Sección 1", ".Sección 2."}, {".Sección 1"});
        for (const QString& name : {QString("SinTexto"), QString("MalMarcada")}) {
            Boxes::answer(true, lessonPath(name));
            Boxes::answer(true, "Ana");
            whenModal(FormLeccion, [&] { click(FormLeccion, "BtTerminarLec"); });
            click(FormInicio, "BtSelecLec");
            QVERIFY(!FormLeccion->isVisible());
        }
        QCOMPARE(Boxes::shown()[2].text, "Cannot open file " + dir_.path() + "/SinTexto_lec.rtf.");
        QCOMPARE(Boxes::shown()[5].text, QString("' 2.' is not a valid integer value."));
        QVERIFY(QFile::exists(dir_.path() + "/MalMarcada07122026_reg.csv"));
    }

private:
    void walkTheLesson();
};

void WindowsTest::walkTheLesson() {
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
    qputenv("LC_ALL", "C.UTF-8");
    QStandardPaths::setTestModeEnabled(true);
    Application app(argc, argv);
    WindowsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowsTest.moc"
