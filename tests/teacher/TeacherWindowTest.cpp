#include "windows/teacher/TeacherWindow.h"
#include "commandline/CommandLine.h"
#include "lesson/LessonFiles.h"
#include "platform/Application.h"
#include "platform/Boxes.h"
#include "platform/RichViewer.h"
#include "print/LessonReader.h"
#include "teacher/editor/KeyDocument.h"
#include "tests/teacher/TeacherTesting.h"
#include "tests/windows/LessonFixture.h"
#include "windows/Unit3.h"
#include "windows/teacher/CheckView.h"
#include "windows/teacher/ClassResultsView.h"
#include "windows/teacher/QuestionDetail.h"
#include "windows/teacher/editor/PrepareView.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

namespace {

const QStringList kGoodKey = {".Sección 1",
                              ".c¿Qué dice el primer párrafo?",
                              ".rQue el volcán duerme.",
                              ".bBien.",
                              ".rQue el volcán ruge.",
                              ".mNo: relee la primera frase.",
                              ".Sección 2",
                              ".c¿Quién es Lucía?",
                              ".rLa abuela.",
                              ".mNo.",
                              ".rLa nieta.",
                              ".b¡Eso es!",
                              ".rUna científica.",
                              ".pPiénsalo.",
                              ".Sección 3",
                              ".c¿Dónde está la isla?",
                              ".rEn el mar.",
                              ".bSí."};

// Rows of a tree's top level, columns joined by "|".
QStringList rows(QTreeWidget* tree, int columns) {
    QStringList out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QStringList cells;
        for (int c = 0; c < columns; ++c)
            cells.append(tree->topLevelItem(i)->text(c));
        out.append(cells.join(u'|'));
    }
    return out;
}

} // namespace

class TeacherWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString writeLesson(const QString& name, const QStringList& markers, const QStringList& key) {
        const QString path = dir_.path() + u'/' + name + "_lec.rtf";
        Fixture::writeFile(path, Fixture::lessonText(markers));
        Fixture::writeFile(dir_.path() + u'/' + name + "_CRJ.TXT", Fixture::keyText(key));
        return path;
    }

private slots:
    void init() { Boxes::startScript(); }
    void cleanup() {
        QCOMPARE(Boxes::unanswered(), 0);
        Boxes::stopScript();
    }

    // The sample lesson and a lesson that the student's program opens cleanly check without an
    // error, on the very display lines that the lesson window shows when it opens.
    void cleanLessonsCheckWithoutError() {
        const QString sample = QStringLiteral(DORVALIA_SAMPLES "/El_volcan_lec.rtf");
        const QString clean =
            writeLesson("Limpia", {".Sección 1", ".Sección 2", ".Sección 3"}, kGoodKey);
        for (const QString& path : {sample, clean}) {
            const LessonReport report = checkLessonFiles(path, readLessonText);
            QStringList errors;
            for (const Problem& p : report.problems) {
                if (p.severity == Problem::Severity::Error)
                    errors.append(problemLine(p));
            }
            QCOMPARE(errors, QStringList());

            TFormLeccion lessonWindow;
            SepararRutaDeLeccion(path);
            lessonWindow.show();
            QCoreApplication::sendPostedEvents(); // the opening runs once the window is shown
            auto* viewer = lessonWindow.findChild<RichViewer*>("LectorDeSeccion");
            QStringList shown;
            for (int i = 0; i < viewer->lineCount(); ++i)
                shown.append(viewer->line(i));
            QCOMPARE(report.text.lines, shown);
            lessonWindow.hide();
        }
    }

    // A lesson with problems: the list, the preview, a problem's place, then the files mended
    // and checked again.
    void windowShowsProblemsAndPreview() {
        QStringList key = kGoodKey;
        key[5] = ".rOtra respuesta"; // answer 2 of question 1 loses its judgment line
        key[14] = ".Sección 3 ";     // a header never found
        const QString path =
            writeLesson("Faltas", {".Sección 1", ".Sección  2", ".Sección 3"}, key);
        TeacherWindow window;
        window.show();
        window.checkView()->openLesson(path);

        auto* problems = window.findChild<QTreeWidget*>("Problemas");
        const QStringList listed = rows(problems, 2);
        const int marker2 = window.checkView()->report().text.lines.indexOf(".Sección  2") + 1;
        const int marker3 = window.checkView()->report().sections.at(2).markerLine;
        QCOMPARE(listed, QStringList({
                             QStringLiteral("error|Faltas_lec.rtf:%1").arg(marker2),
                             QStringLiteral("error|Faltas_lec.rtf:%1").arg(marker3),
                             "error|Faltas_CRJ.TXT:5",
                             "error|Faltas_CRJ.TXT:6",
                             "error|Faltas_CRJ.TXT:15",
                         }));
        QVERIFY(problems->topLevelItem(2)->text(2).startsWith("falta la línea de juicio"));

        auto* preview = window.findChild<QTreeWidget*>("VistaPrevia");
        QCOMPARE(rows(preview, 1),
                 QStringList({"Sección 1", "Sección 2 (el alumno no llega a ella en el texto)",
                              "Sección 3 (no está en la clave)"}));
        // Without its judgment line, answer 2 is judged by answer 3, and answer 3 reads the next
        // section's header.
        QTreeWidgetItem* question = preview->topLevelItem(0)->child(0);
        QCOMPARE(question->childCount(), 3);
        QCOMPARE(question->child(1)->text(1), "Pendiente");
        QCOMPARE(question->child(1)->text(2), "Otra respuesta");
        QCOMPARE(question->child(2)->text(0), "3. ección 2");

        // Choosing the key's problem shows its line and its place in the preview.
        const QRect row = problems->visualItemRect(problems->topLevelItem(2));
        QTest::mouseClick(problems->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(window.findChild<QLabel*>("LLugar")->text(),
                 "Clave Faltas_CRJ.TXT, línea 5: «.rQue el volcán ruge.»\n" +
                     problems->topLevelItem(2)->text(2));
        QCOMPARE(preview->currentItem()->text(0), "2. Que el volcán ruge.");

        // The teacher mends the files and checks again.
        writeLesson("Faltas", {".Sección 1", ".Sección 2", ".Sección 3"}, kGoodKey);
        QTest::mouseClick(window.findChild<QPushButton*>("BtRevisar"), Qt::LeftButton);
        QCOMPARE(rows(problems, 2), QStringList());
        QVERIFY(window.findChild<QLabel*>("LResumen")
                    ->text()
                    .startsWith("0 errores, 0 avisos, 0 notas; 1 respuesta pendiente"));
    }

    // The first steps: the start page opens the sample and the tabs share it; a reading without
    // a key, opened in the check, gets the offer of one; the key saved is checked again and said
    // in the status bar; the results start on the folder read last.
    void firstStepsShareOneLesson() {
        auto* window = new TeacherWindow;
        window->show();
        window->showStart();
        auto* tabs = window->findChild<QTabWidget*>("Pestanas");
        QCOMPARE(tabs->currentIndex(), 0);
        QVERIFY(window->findChild<QWidget*>("PaginaInicio")->isVisible());
        QTest::mouseClick(window->findChild<QPushButton*>("BtInicioEjemplo"), Qt::LeftButton);
        QVERIFY(window->prepareView()->isVisible());
        QVERIFY(window->prepareView()->document()->path().endsWith("/El_volcan_CRJ.TXT"));
        QVERIFY(window->checkView()->report().textPath.endsWith("/El_volcan_lec.rtf"));

        const QString path = dir_.path() + "/Nueva_lec.rtf";
        Fixture::writeFile(path, Fixture::lessonText({".Sección 1"}));
        Boxes::answer(true);
        tabs->setCurrentIndex(1);
        window->checkView()->openLesson(path);
        QVERIFY(Boxes::shown().back().text.startsWith("La lección Nueva no tiene clave"));
        QCOMPARE(tabs->currentIndex(), 0);
        const QString key = dir_.path() + "/Nueva_CRJ.TXT";
        QCOMPARE(window->prepareView()->document()->path(), key);
        QVERIFY(window->checkView()->report().unreadable);
        QVERIFY(window->prepareView()->saveKeyClicked());
        QVERIFY(!window->checkView()->report().unreadable);
        QCOMPARE(window->statusBar()->currentMessage(),
                 "Clave guardada: " + QDir::toNativeSeparators(key) + ".");

        auto* results = window->findChild<ClassResultsView*>();
        results->findChild<QLineEdit*>("Carpeta")->setText(QDir::toNativeSeparators(dir_.path()));
        results->readClicked();
        QTRY_VERIFY(!results->reading());
        delete window;
        ClassResultsView again;
        QCOMPARE(again.findChild<QLineEdit*>("Carpeta")->text(),
                 QDir::toNativeSeparators(dir_.path()));
    }

    void opensTheLessonChosenInTheFileDialog() {
        const QString path = writeLesson("Elegida", {".Sección 1"}, kGoodKey.mid(0, 6));
        TeacherWindow window;
        window.show();
        Boxes::answer(true, path);
        QTest::mouseClick(window.findChild<QPushButton*>("BtAbrir"), Qt::LeftButton);
        QVERIFY(window.findChild<QLabel*>("LLeccion")->text().contains("Elegida_lec.rtf"));
        QCOMPARE(window.findChild<QTreeWidget*>("Problemas")->topLevelItemCount(), 0);
    }

    // A question of the class's results shows its answers' first choices, and opens the key at
    // that very question in «Preparar lección».
    void aQuestionOfTheResultsOpensTheKeyThere() {
        writeLesson("Clase", {".Sección 1", ".Sección 2", ".Sección 3"}, kGoodKey);
        Fixture::writeFile(dir_.filePath("Clase07122026_reg.csv"),
                           "Ana,07/12/2026,Clase\r\nNombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,"
                           "1er intento\r\nAna,2,1,2,Correcta,si\r\nBeto,07/12/2026,Clase\r\n"
                           "Nombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,1er intento\r\n"
                           "Beto,2,1,1,Incorrecta\r\n");
        TeacherWindow window;
        window.show();
        auto* results = window.findChild<ClassResultsView*>();
        results->findChild<QLineEdit*>("Carpeta")->setText(dir_.path());
        QTest::mouseClick(results->findChild<QPushButton*>("BtLeer"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!results->reading(), 20000);
        QCoreApplication::processEvents();
        auto* table = results->findChild<QTableView*>("TablaCuestiones");
        table->setFocus();
        table->setCurrentIndex(table->model()->index(0, 0));
        QTest::keyClick(table, Qt::Key_Return);
        auto* detail = results->findChild<QuestionDetail*>();
        QVERIFY(detail);
        // Ana (3,3) is the upper third of two, Beto (0,0) the lower; then each third's shares.
        QCOMPARE(
            cells(detail->findChild<QTableWidget*>("TablaRespuestas")),
            QStringList({"1|La abuela.|Incorrecta|1|50,0\u00A0%|0|1|0,0\u00A0%|100,0\u00A0%|",
                         "2|La nieta.|Correcta|1|50,0\u00A0%|1|0|100,0\u00A0%|0,0\u00A0%|",
                         "3|Una científica.|Pendiente|0|0,0\u00A0%|0|0|0,0\u00A0%|0,0\u00A0%|"}));
        QTest::mouseClick(detail->findChild<QPushButton*>("BtAbrirClave"), Qt::LeftButton);
        auto* prepare = window.findChild<PrepareView*>();
        // The tab shown is «Preparar lección», its page the editor (not the start page).
        QVERIFY(window.findChild<QTabWidget*>("Pestanas")->currentWidget()->isAncestorOf(prepare));
        QVERIFY(prepare->isVisible());
        const PrepareView::Place place = prepare->currentPlace();
        QCOMPARE(std::tuple(place.kind, place.section, place.question),
                 std::tuple(PrepareView::Place::Question, 1, 0));
    }

    // The guide is in the program: its contents' links move to their headings, and its picture
    // is there.
    void theGuideIsAtHandInTheHelpMenu() {
        TeacherWindow window;
        window.show();
        window.findChild<QAction*>("AccionGuia")->trigger();
        auto* browser = window.findChild<QTextBrowser*>("TextoGuia");
        QVERIFY(browser && browser->isVisible());
        QVERIFY(browser->document()->toPlainText().startsWith(QStringLiteral("Guía del docente")));
        QTextCursor picture = browser->document()->find(QString(QChar::ObjectReplacementCharacter));
        QVERIFY(!picture.isNull());
        const QUrl image(picture.charFormat().toImageFormat().name());
        QVERIFY(!qvariant_cast<QImage>(
                     browser->document()->resource(QTextDocument::ImageResource, image))
                     .isNull());
        // A click on a link of the contents; the long guide is laid out a part at a time, as the
        // event loop goes on.
        QCOMPARE(browser->verticalScrollBar()->value(), 0);
        emit browser->anchorClicked(
            QUrl(QStringLiteral("#7-los-registros-dónde-quedan-y-cómo-leerlos")));
        QTRY_VERIFY((emit browser->anchorClicked(
                         QUrl(QStringLiteral("#7-los-registros-dónde-quedan-y-cómo-leerlos"))),
                     browser->verticalScrollBar()->value() > 0));
    }

    void commandLine() {
        const QString good =
            writeLesson("Buena", {".Sección 1", ".Sección 2", ".Sección 3"}, kGoodKey);
        const QString bad =
            writeLesson("Mala", {".Sección 1"}, {".Sección 1", ".cP", ".rA", ".bB", ".rC"});
        int status = -1;
        QCOMPARE(run({"revisar", good}, status),
                 "1 lección revisada: 0 errores, 0 avisos, 0 notas; 1 respuesta pendiente.\n");
        QCOMPARE(status, 0);
        QCOMPARE(run({"revisar", bad, good}, status),
                 dir_.path() + "/Mala_CRJ.TXT:5: error: falta la línea de juicio tras esta "
                               "respuesta: el programa del alumno tomará como juicio la línea "
                               "siguiente\n"
                               "2 lecciones revisadas: 1 error, 0 avisos, 0 notas; 1 respuesta "
                               "pendiente.\n");
        QCOMPARE(status, 1);
        QVERIFY(run({"revisar", bad, dir_.path() + "/Falta_lec.rtf"}, status)
                    .contains("Falta_CRJ.TXT: error: no se puede leer la clave"));
        QCOMPARE(status, 2);
        QVERIFY(run({"revisar"}, status).contains("falta la ruta"));
        QCOMPARE(status, 64);
        QVERIFY(run({"--help"}, status).contains("  revisar    Revisa lecciones"));
        QCOMPARE(status, 0);
        QVERIFY(run({"revisar", "--help"}, status).contains("2  alguna lección no se puede leer"));
        QCOMPARE(status, 0);
        QVERIFY(run({"revisar", "--nada", good}, status).contains("opción desconocida: nada"));
        QCOMPARE(status, 64);
        QVERIFY(run({"--nada"}, status).contains("opción desconocida"));
        QCOMPARE(status, 64);
        // Every verb refuses a wrong call in Spanish, Qt's English never reaching the teacher.
        const QList<std::pair<QStringList, QString>> wrongCalls = {
            {{"resumen", dir_.path(), "--nada"}, "resumen: opción desconocida: nada\n"},
            {{"resumen", dir_.path(), "--desde"}, "resumen: falta el valor tras --desde\n"},
            {{"resumen", dir_.path(), "--subcarpetas=sí"},
             "resumen: la opción --subcarpetas no lleva valor\n"},
            {{"informe", dir_.path(), "--todos"}, "informe: falta el valor tras --todos\n"},
            {{"publicar", good, "--nada"}, "publicar: opción desconocida: nada\n"},
            {{"ficha", good, "--pdf"}, "ficha: falta el valor tras --pdf\n"},
            {{"gift", good, "--nada"}, "gift: opción desconocida: nada\n"}};
        for (const auto& [arguments, message] : wrongCalls) {
            const QString printed = run(arguments, status);
            QVERIFY2(printed.contains(message) && printed.contains("--help» para ver la ayuda"),
                     qPrintable(printed));
            QCOMPARE(status, 64);
        }
    }

    // «Acerca de» in the Help menu says that the program is free software, and under which
    // licence.
    void aboutNamesTheLicence() {
        TeacherWindow window;
        window.findChild<QAction*>("AccionAcercaDe")->trigger();
        QCOMPARE(Boxes::shown().size(), 1);
        QCOMPARE(Boxes::shown()[0].caption, QString("Acerca de Dorvalia para docentes"));
        QVERIFY(Boxes::shown()[0].text.contains(
            "Licencia Pública General de GNU publicada por la Free Software Foundation, en su "
            "versión 3 o (a su elección) cualquier versión posterior"));
    }
};

int main(int argc, char** argv) {
    qputenv("LC_ALL", "C.UTF-8");
    Application app(argc, argv);
    TeacherWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TeacherWindowTest.moc"
