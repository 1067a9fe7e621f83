#include "windows/teacher/editor/PrepareView.h"

#include "commandline/CommandLine.h"
#include "lesson/PublishedKey.h"
#include "platform/Boxes.h"
#include "platform/ListBox.h"
#include "platform/UpDown.h"
#include "platform/core/Ansi.h"
#include "platform/core/Clock.h"
#include "print/Worksheet.h"
#include "teacher/editor/KeyDocument.h"
#include "teacher/editor/Questions.h"
#include "tests/windows/LessonFixture.h"
#include "windows/Unit1.h"
#include "windows/Unit3.h"
#include "windows/Unit5.h"
#include "windows/teacher/TeacherWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>

using Fixture::whenModal;

namespace {

// A key for the widget with the keyboard focus.
void key(int k, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY2(focus, "no widget has the focus");
    QTest::keyClick(focus, Qt::Key(k), modifiers);
}

// Types text into the widget, one key a character, Spanish letters too.
void typeInto(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        if (c == u'\n')
            QTest::keyClick(widget, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), {});
    }
}

void type(const QString& text) {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY2(focus, "no widget has the focus");
    typeInto(focus, text);
}

QString focusName() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

// The last box shown, as "caption|text".
QString lastBox() {
    return Boxes::shown().isEmpty()
               ? QString()
               : Boxes::shown().back().caption + u'|' + Boxes::shown().back().text;
}

QStringList treeRows(QTreeWidget* tree) {
    QStringList rows;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        QString row = (*it)->text(0);
        if (!(*it)->text(1).isEmpty())
            row += u'|' + (*it)->text(1);
        rows.append(row);
    }
    return rows;
}

} // namespace

class PrepareViewTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString lessonPath(const QString& name) const { return dir_.path() + u'/' + name + "_lec.rtf"; }

private slots:
    void initTestCase() {
        Clock::setNow(QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
        Clock::setShortDatePattern(QStringLiteral("dd/MM/yyyy"));
    }
    void init() { Boxes::startScript(); }
    void cleanup() {
        QCOMPARE(Boxes::unanswered(), 0);
        QCOMPARE(Boxes::unusedAnswers(), 0);
        Boxes::stopScript();
    }

    // A teacher writes a two-section lesson's key with the keyboard alone, and a student answers
    // it in the student's program: the verdicts and feedback are the ones written.
    void aKeyWrittenByKeyboardIsTheOneTheStudentReads() {
        Fixture::writeFile(lessonPath("Teclas"), Fixture::lessonText({".Sección 1", ".Sección 2"}));
        TeacherWindow window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* tabs = window.findChild<QTabWidget*>("Pestanas");
        QCOMPARE(tabs->tabText(0), QString("Preparar lección"));
        tabs->setCurrentIndex(0);
        auto* view = window.findChild<PrepareView*>();
        view->findChild<QWidget*>("BtNuevaClave")->setFocus();

        Boxes::answer(true, lessonPath("Teclas"));
        key(Qt::Key_Space); // «Nueva clave…»
        auto* tree = view->findChild<QTreeWidget*>("ArbolClave");
        QCOMPARE(treeRows(tree), QStringList({"Sección 1", "Sección 2"}));
        QCOMPARE(focusName(), QString("ArbolClave"));

        key(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(focusName(), QString("EdTexto"));
        type("¿Dónde vive Lucía?");
        const QList<std::tuple<QString, int, QString>> answers = {
            {"En la isla.", Qt::Key_C, "¡Bien! Lo dice el primer párrafo."},
            {"En el mar.", Qt::Key_I, "No: relee el primer párrafo."},
            {"En la luna.", Qt::Key_P, "Piénsalo otra vez."},
        };
        for (const auto& [answer, judgment, feedback] : answers) {
            key(Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(focusName(), QString("EdTexto"));
            type(answer);
            key(Qt::Key_Tab);
            QCOMPARE(focusName(), QString("Juicio"));
            // The combo box searches by the letters typed within this time as one word.
            QTest::qWait(QApplication::keyboardInputInterval() + 50);
            key(judgment);
            key(Qt::Key_Tab);
            QCOMPARE(focusName(), QString("EdComentario"));
            type(feedback);
        }
        QStringList expected = {".Sección 1",    ".c¿Dónde vive Lucía?",
                                ".rEn la isla.", ".b¡Bien! Lo dice el primer párrafo.",
                                ".rEn el mar.",  ".mNo: relee el primer párrafo.",
                                ".rEn la luna.", ".pPiénsalo otra vez.",
                                ".Sección 2"};
        QCOMPARE(view->document()->lines(), expected);

        // Undo takes back the feedback typed, as one step; redo brings it again.
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(view->document()->lines().at(7), QString(".p"));
        QCOMPARE(view->findChild<QLineEdit*>("EdComentario")->text(), QString());
        key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(view->document()->lines(), expected);
        QCOMPARE(view->findChild<QLineEdit*>("EdComentario")->text(),
                 QString("Piénsalo otra vez."));

        // Section 2 gets its question from the tree: End, then the same keys.
        tree->setFocus();
        key(Qt::Key_End);
        key(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        type("¿Quién es Lucía?");
        key(Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
        type("La nieta.");
        key(Qt::Key_Tab);
        QTest::qWait(QApplication::keyboardInputInterval() + 50);
        key(Qt::Key_C);
        key(Qt::Key_Tab);
        type("Sí.");
        expected += {".c¿Quién es Lucía?", ".rLa nieta.", ".bSí."};
        QCOMPARE(view->document()->lines(), expected);
        view->checkNow();
        QCOMPARE(view->report().count(Problem::Severity::Error), 0);

        key(Qt::Key_S, Qt::ControlModifier);
        QByteArray bytes;
        for (const QString& line : expected)
            bytes += stringToAnsi(line) + "\r\n";
        QCOMPARE(Fixture::readFile(dir_.path() + "/Teclas_CRJ.TXT"), bytes);
        QVERIFY(!view->document()->modified());
        // A letter more in the same field after saving is a change to save, and undoing it is not.
        type("!");
        QVERIFY(view->document()->modified());
        key(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!view->document()->modified());
        window.close();

        // The student's program reads it.
        FormInicio = new TFormInicio();
        FormLeccion = new TFormLeccion(FormInicio);
        Resultados = new TResultados(FormLeccion);
        FormInicio->show();
        Boxes::answer(true, lessonPath("Teclas"));
        Boxes::answer(true, "Ana");
        Boxes::answer(false); // "Trabajo Incompleto": No, end the lesson
        QStringList boxes;
        whenModal(FormLeccion, [&] {
            auto* list = FormLeccion->findChild<ListBox*>("ListaDeSecciones");
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(0)).center());
            auto step = [](const char* selector) {
                QTest::mouseClick(
                    FormLeccion->findChild<UpDown*>(selector)->findChild<QToolButton*>("up"),
                    Qt::LeftButton);
            };
            step("UpDownPregunta");
            for (int k = 1; k <= 3; ++k) {
                step("UpDownRespuesta");
                QTest::mouseClick(FormLeccion->findChild<QPushButton*>("BtAceptar"),
                                  Qt::LeftButton);
                boxes.append(lastBox());
            }
            QTest::mouseClick(FormLeccion->findChild<QPushButton*>("BtTerminarLec"),
                              Qt::LeftButton);
        });
        QTest::mouseClick(FormInicio->findChild<QPushButton*>("BtSelecLec"), Qt::LeftButton);
        QCOMPARE(boxes, QStringList({"Correcta|¡Bien! Lo dice el primer párrafo.",
                                     "Incorrecta|No: relee el primer párrafo.",
                                     "Pendiente|Piénsalo otra vez."}));
        delete FormInicio;
        FormInicio = nullptr;
        FormLeccion = nullptr;
        Resultados = nullptr;
    }

    // A key with problems: nothing of it is lost, its problems are listed and lead to their
    // place; the text view and the form show each other's edits; leaving with changes asks.
    void aKeyWithProblemsIsShownCheckedAndKept() {
        Fixture::writeFile(lessonPath("Fallos"),
                           Fixture::lessonText({".Sección 1", ".Sección 2", ".Sección 3"}));
        const QByteArray bytes = stringToAnsi(u".Sección 1\n.c¿Uno?\n.rA\n.bBien\n.rB\n"
                                              u"x\n.Sección 3 \n.cSuelta\n.Sección 2\n.cDos");
        const QString keyPath = dir_.path() + "/Fallos_CRJ.TXT";
        Fixture::writeFile(keyPath, bytes);
        TeacherWindow window;
        window.show();
        auto* view = window.findChild<PrepareView*>();
        view->openLesson(lessonPath("Fallos"));
        auto* tree = view->findChild<QTreeWidget*>("ArbolClave");
        QCOMPARE(treeRows(tree),
                 QStringList({"Sección 1", "1. ¿Uno?", "1. A|Correcta", "2. B|Pendiente",
                              "«.Sección 3 » (el alumno no encuentra este encabezado)",
                              "1. Suelta|sin respuestas", "Sección 2", "1. Dos|sin respuestas",
                              "Sección 3 (no está en la clave)"}));
        auto* problems = view->findChild<QTreeWidget*>("ProblemasClave");
        QStringList places;
        for (int i = 0; i < problems->topLevelItemCount(); ++i)
            places.append(problems->topLevelItem(i)->text(0) + u'|' +
                          problems->topLevelItem(i)->text(1));
        QVERIFY2(places.contains("error|Fallos_CRJ.TXT:7"), qPrintable(places.join(", ")));
        QVERIFY(places.contains("error|Fallos_CRJ.TXT:10"));

        // Choosing a problem chooses its item.
        for (int i = 0; i < problems->topLevelItemCount(); ++i) {
            if (problems->topLevelItem(i)->text(1) == "Fallos_CRJ.TXT:10")
                problems->setCurrentItem(problems->topLevelItem(i));
        }
        QCOMPARE(tree->currentItem()->text(0), QString("1. Dos"));

        // Saved unchanged, the file is the same, byte for byte.
        QVERIFY(view->saveKeyClicked());
        QCOMPARE(Fixture::readFile(keyPath), bytes);

        // The form's edit shows in the text; the text's edit shows in the form.
        auto* text = view->findChild<QPlainTextEdit*>("TextoClave");
        view->findChild<QLineEdit*>("EdTexto")->setFocus();
        typeInto(view->findChild<QLineEdit*>("EdTexto"), " ¿y tres?");
        QCOMPARE(text->document()->findBlockByNumber(9).text(), QString(".cDos ¿y tres?"));
        QTextCursor cursor(text->document()->findBlockByNumber(1));
        cursor.movePosition(QTextCursor::EndOfBlock);
        text->setTextCursor(cursor);
        typeInto(text, "!");
        QCOMPARE(tree->topLevelItem(0)->child(0)->text(0), QString("1. ¿Uno?!"));
        QTest::keyClick(text, Qt::Key_Return);
        typeInto(text, ".rC\n.mNo");
        QCOMPARE(treeRows(tree).mid(0, 5), QStringList({"Sección 1", "1. ¿Uno?!", "1. C|Incorrecta",
                                                        "2. A|Correcta", "3. B|Pendiente"}));
        view->checkNow();

        // An answer moved down and removed with the buttons, and both steps undone.
        const QStringList typed = view->document()->lines();
        auto button = [&](const char* name) {
            QTest::mouseClick(view->findChild<QPushButton*>(name), Qt::LeftButton);
        };
        tree->setCurrentItem(tree->topLevelItem(0)->child(0)->child(0));
        button("BtBajar");
        QCOMPARE(view->document()->lines().mid(2, 4),
                 QStringList({".rA", ".bBien", ".rC", ".mNo"}));
        QCOMPARE(tree->currentItem()->text(0), QString("2. C"));
        button("BtQuitar");
        QCOMPARE(view->document()->lines().mid(2, 4), QStringList({".rA", ".bBien", ".rB", "x"}));
        // A section of the reading that the key lacks gets its block from its place in the tree.
        tree->setCurrentItem(tree->topLevelItem(tree->topLevelItemCount() - 1));
        button("BtAnadirPregunta");
        QCOMPARE(view->document()->lines().mid(10), QStringList({".Sección 3", ".c"}));
        QCOMPARE(tree->currentItem()->text(0), QString("1. (vacía)"));
        for (int i = 0; i < 4; ++i)
            button("BtDeshacer");
        QCOMPARE(view->document()->lines(), typed);

        // Another lesson with unsaved changes: «Cancelar» (as Esc) keeps them.
        Boxes::answer(false);
        view->openLesson(lessonPath("Fallos"));
        QVERIFY(view->document()->modified());
        QCOMPARE(lastBox(), "Preparar lección|La clave Fallos_CRJ.TXT tiene cambios sin guardar.");
        // Closing the program: «Guardar» saves them, with the key before kept as .bak.
        Boxes::answer(true, "Guardar");
        QVERIFY(window.close());
        QCOMPARE(Fixture::readFile(keyPath + ".bak"), bytes);
        QCOMPARE(Fixture::readFile(keyPath),
                 stringToAnsi(u".Sección 1\n.c¿Uno?!\n.rC\n.mNo\n.rA\n.bBien\n.rB\nx\n"
                              u".Sección 3 \n.cSuelta\n.Sección 2\n.cDos ¿y tres?"));
    }
    // A key named in other letter case, which the student's program reads, is the one opened
    // and saved, whichever button opens the lesson: no new key is started beside it.
    void aKeyInOtherLetterCaseIsEditedInPlace() {
        Fixture::writeFile(lessonPath("Minus"), Fixture::lessonText({".Sección 1"}));
        const QString keyPath = dir_.path() + "/Minus_crj.txt";
        Fixture::writeFile(keyPath, Fixture::keyText({".Sección 1", ".cUna", ".rSí", ".bBien"}));
        TeacherWindow window;
        auto* view = window.findChild<PrepareView*>();
        Boxes::answer(true); // «ya tiene clave (Minus_crj.txt). ¿Abrirla?»
        view->newKey(lessonPath("Minus"));
        QVERIFY2(lastBox().contains("(Minus_crj.txt)"), qPrintable(lastBox()));
        auto* edit = view->findChild<QLineEdit*>("EdTexto");
        view->findChild<QTreeWidget*>("ArbolClave")
            ->setCurrentItem(
                view->findChild<QTreeWidget*>("ArbolClave")->topLevelItem(0)->child(0));
        edit->setFocus();
        typeInto(edit, " y otra");
        QVERIFY(view->saveKeyClicked());
        QCOMPARE(Fixture::readFile(keyPath),
                 Fixture::keyText({".Sección 1", ".cUna y otra", ".rSí", ".bBien"}));
        QCOMPARE(QDir(dir_.path()).entryList({"Minus_*"}, QDir::Files),
                 QStringList({"Minus_crj.txt", "Minus_crj.txt.bak", "Minus_lec.rtf"}));
    }

    // A key changed on disk since it was opened here is replaced only when the teacher says so:
    // No keeps the other change, and the form's edits unsaved.
    void aKeyChangedOnDiskIsReplacedOnlyOnRequest() {
        Fixture::writeFile(lessonPath("Otro"), Fixture::lessonText({".Sección 1"}));
        const QString keyPath = dir_.path() + "/Otro_CRJ.TXT";
        Fixture::writeFile(keyPath, Fixture::keyText({".Sección 1", ".cUna", ".rSí", ".bBien"}));
        TeacherWindow window;
        auto* view = window.findChild<PrepareView*>();
        view->openLesson(lessonPath("Otro"));
        view->document()->setLines({".Sección 1", ".cDos", ".rSí", ".bBien"});
        const QByteArray other = Fixture::keyText({".Sección 1", ".cDe otro", ".rSí", ".bBien"});
        Fixture::writeFile(keyPath, other);
        Boxes::answer(false);
        QVERIFY(!view->saveKeyClicked());
        QVERIFY2(lastBox().contains("ha cambiado en el disco"), qPrintable(lastBox()));
        QCOMPARE(Fixture::readFile(keyPath), other);
        QVERIFY(view->document()->modified());
    }

    // Questions from Moodle go into the chosen section as one step to undo; the whole key goes
    // out to GIFT.
    void importAndExportFromTheTab() {
        Fixture::writeFile(lessonPath("Moodle"), Fixture::lessonText({".Sección 1", ".Sección 2"}));
        const QString keyPath = dir_.path() + "/Moodle_CRJ.TXT";
        Fixture::writeFile(keyPath, Fixture::keyText({".Sección 1", ".cUna", ".rSí", ".bBien",
                                                      ".rNo", ".mMal", ".Sección 2"}));
        Fixture::writeFile(dir_.path() + "/preguntas.gift",
                           "// de Moodle\n::T::¿Dos? {=Sí #Bien ~No #Mal}\n\n::Corta:: ¿Cuánto? "
                           "{=dos}\n");
        Fixture::writeFile(dir_.path() + "/mala.gift", "¿Dos? {=Sí ~No\n");
        TeacherWindow window;
        auto* view = window.findChild<PrepareView*>();
        view->openLesson(lessonPath("Moodle"));
        auto* tree = view->findChild<QTreeWidget*>("ArbolClave");
        tree->setCurrentItem(tree->topLevelItem(1)); // Sección 2

        Boxes::answer(true, dir_.path() + "/mala.gift");
        QTest::mouseClick(view->findChild<QPushButton*>("BtImportar"), Qt::LeftButton);
        QCOMPARE(Boxes::shown().back().text,
                 "No se importa ninguna pregunta de mala.gift: línea 1: falta la llave de cierre "
                 "«}» de las respuestas que empiezan aquí.");
        QCOMPARE(view->document()->lines().size(), 7);

        Boxes::answer(true, dir_.path() + "/preguntas.gift");
        QTest::mouseClick(view->findChild<QPushButton*>("BtImportar"), Qt::LeftButton);
        QCOMPARE(lastBox(), "Preparar lección|1 pregunta importada de preguntas.gift a la "
                            "sección 2.\n1 pregunta de otro tipo no se importa:\nlínea 4: "
                            "«Corta» (respuesta corta)");
        const QStringList imported = {".Sección 1", ".cUna",   ".rSí", ".bBien", ".rNo", ".mMal",
                                      ".Sección 2", ".c¿Dos?", ".rSí", ".bBien", ".rNo", ".mMal"};
        QCOMPARE(view->document()->lines(), imported);
        view->document()->undo();
        QCOMPARE(view->document()->lines().size(), 7);
        view->document()->redo();

        Boxes::answer(true, dir_.path() + "/salida.gift");
        QTest::mouseClick(view->findChild<QPushButton*>("BtExportarGift"), Qt::LeftButton);
        QVERIFY(lastBox().startsWith("Preparar lección|2 preguntas exportadas a "));
        QCOMPARE(readGift(QString::fromUtf8(Fixture::readFile(dir_.path() + "/salida.gift")))
                     .questions.size(),
                 2);
        Boxes::answer(true, "Descartar"); // leave without saving the changes
        window.close();
    }

    // A lesson whose key is only published opens read-only; a damaged one opens nothing; a new
    // key is not started beside it; the plain copy is saved in the teacher's folder, never in the
    // class's, and opens for editing.
    void aPublishedKeyOpensReadOnlyWithAPlainCopyOffered() {
        const QString classDir = dir_.path() + "/clase";
        const QString mine = dir_.path() + "/mia";
        QVERIFY(QDir().mkpath(classDir) && QDir().mkpath(mine));
        const QByteArray plain = Fixture::keyText({".Sección 1", ".c¿Qué?", ".rEsto", ".bSí"});
        for (const QString name : {"Clase", "Rota"})
            Fixture::writeFile(classDir + u'/' + name + "_lec.rtf",
                               Fixture::lessonText({".Sección 1"}));
        Fixture::writeFile(classDir + "/Clase_CRJ.dvk", SealKey(plain, "Clase"));
        QByteArray broken = SealKey(plain, "Rota");
        broken[broken.size() - 40] ^= 1;
        Fixture::writeFile(classDir + "/Rota_CRJ.dvk", broken);
        TeacherWindow window;
        auto* view = window.findChild<PrepareView*>();
        auto enabled = [view](const char* name) {
            return view->findChild<QWidget*>(name)->isEnabled();
        };

        view->openLesson(classDir + "/Rota_lec.rtf");
        QCOMPARE(Boxes::shown().back().kind, Boxes::Kind::Error);
        QVERIFY(lastBox().contains("Rota_CRJ.dvk está dañada"));
        QVERIFY(view->document()->path().isEmpty());
        view->newKey(classDir + "/Clase_lec.rtf");
        QVERIFY(lastBox().contains("ya tiene clave publicada para la clase (Clase_CRJ.dvk)"));
        QVERIFY(view->document()->path().isEmpty());

        // Sí to the copy, in the class's own folder: refused, the key stays shown read-only.
        Boxes::answer(true);
        Boxes::answer(true, classDir);
        view->openLesson(classDir + "/Clase_lec.rtf");
        QCOMPARE(Boxes::shown()[Boxes::shown().size() - 2].kind, Boxes::Kind::Folder);
        QVERIFY(lastBox().contains("es la de la lección publicada"));
        QCOMPARE(view->document()->lines(),
                 QStringList({".Sección 1", ".c¿Qué?", ".rEsto", ".bSí"}));
        QVERIFY(view->document()->readOnly());
        QVERIFY(!view->findChild<QLabel*>("LSoloLectura")->isHidden());
        auto* tree = view->findChild<QTreeWidget*>("ArbolClave");
        tree->setCurrentItem(tree->topLevelItem(0)->child(0)->child(0)); // the answer
        for (const char* name : {"BtGuardarClave", "BtImportar", "BtAnadirPregunta", "BtQuitar",
                                 "BtDeshacer", "EdTexto", "Juicio", "EdComentario"})
            QVERIFY2(!enabled(name), name);
        QVERIFY(view->findChild<QPlainTextEdit*>("TextoClave")->isReadOnly());
        view->document()->setLines({".Sección 1"});
        view->removeClicked();
        QCOMPARE(view->document()->lines().size(), 4);
        QVERIFY(!view->document()->modified());

        Boxes::answer(true);
        Boxes::answer(true, mine);
        view->openLesson(classDir + "/Clase_lec.rtf");
        QCOMPARE(view->document()->path(), mine + "/Clase_CRJ.TXT");
        QVERIFY(!view->document()->readOnly());
        QVERIFY(enabled("BtGuardarClave"));
        QCOMPARE(Fixture::readFile(mine + "/Clase_CRJ.TXT"), plain);
        QCOMPARE(Fixture::readFile(mine + "/Clase_lec.rtf"),
                 Fixture::readFile(classDir + "/Clase_lec.rtf"));
        QCOMPARE(QDir(classDir).entryList(QDir::Files).filter("_CRJ.TXT", Qt::CaseInsensitive),
                 QStringList());
    }
};

QTEST_MAIN(PrepareViewTest)
#include "PrepareViewTest.moc"
