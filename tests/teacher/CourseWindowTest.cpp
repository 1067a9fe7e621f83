#include "commandline/CommandLine.h"
#include "platform/Application.h"
#include "platform/Boxes.h"
#include "platform/chart/BarChartView.h"
#include "platform/chart/ChartTextObject.h"
#include "print/StudentPdf.h"
#include "print/SummaryPdf.h"
#include "tests/teacher/TeacherTesting.h"
#include "windows/teacher/ClassResultsView.h"
#include "windows/teacher/CourseView.h"

#include <QAbstractItemModel>
#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

namespace {

const QByteArray kColumns = "Nombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,1er intento\r\n";

void write(const QString& path, const QByteArray& bytes, const QDate& day) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.flush();
    QVERIFY(file.setFileTime(QDateTime(day, QTime(12, 0)), QFileDevice::FileModificationTime));
}

} // namespace

// «Alumnos a lo largo del curso» as a teacher uses it: Lucía typed her name two ways over two
// lessons, in October and November; Beto was wrong first in A.
class CourseWindowTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;

    void read(ClassResultsView& view) {
        view.findChild<QLineEdit*>("Carpeta")->setText(QDir::toNativeSeparators(dir.path()));
        QTest::mouseClick(view.findChild<QPushButton*>("BtLeer"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!view.reading(), 20000);
        QCoreApplication::processEvents();
    }

    void clickStudent(ClassResultsView& view, const QString& name) {
        auto* table = view.findChild<QTableView*>("TablaCurso");
        for (int r = 0; r < table->model()->rowCount(); ++r) {
            const QModelIndex index = table->model()->index(r, 0);
            if (index.data().toString() == name) {
                table->scrollTo(index);
                QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                                  table->visualRect(index).center());
                return;
            }
        }
        QFAIL(qPrintable(name));
    }

private slots:
    void initTestCase() {
        write(dir.filePath("A12102026_reg.csv"),
              "Luc\xED"
              "a,12/10/2026,A\r\n" +
                  kColumns +
                  "Luc\xED"
                  "a,1,1,1,Correcta,si\r\nLuc\xED"
                  "a,1,2,2,Incorrecta\r\n"
                  "Beto,12/10/2026,A\r\n" +
                  kColumns + "Beto,1,1,2,Incorrecta\r\nBeto,1,1,1,Correcta\r\n",
              {2026, 10, 12});
        write(dir.filePath("B20112026_reg.csv"),
              "lucia ,20/11/2026,B\r\n" + kColumns +
                  "lucia ,1,1,1,Correcta,si\r\n"
                  "Beto,20/11/2026,B\r\n" +
                  kColumns + "Beto,1,1,1,Correcta,si\r\n",
              {2026, 11, 20});
    }
    void cleanup() { Boxes::stopScript(); }

    void aStudentsPageTheJoinAndTheReport() {
        ClassResultsView view;
        view.resize(1200, 700);
        view.show();
        auto* views = view.findChild<QTabWidget*>("Vistas");
        views->setCurrentWidget(view.findChild<QWidget*>("PestanaCurso"));
        read(view);
        auto* course = view.findChild<QTableView*>("TablaCurso");
        QCOMPARE(course->model()->rowCount(), 3);
        auto* matches = view.findChild<QListWidget*>("Parecidos");
        QCOMPARE(matches->count(), 1);

        clickStudent(view, "Beto");
        // Without keys there is no mark, and no other figure stands in for it.
        QCOMPARE(cells(view.findChild<QTableView*>("TablaLecciones")),
                 QStringList({"A|12/10/2026|||sin clave|", "B|20/11/2026|||sin clave|"}));
        auto* trend = view.findChild<BarChartView*>("GraficoTendencia");
        QVERIFY(trend->isVisible());
        QCOMPARE(trend->chart().bars.size(), 2);
        QCOMPARE(trend->chart().bars[1].mark, "sin nota");

        // The filter finds her without the accent; the join names her as the teacher types.
        view.findChild<QLineEdit*>("FiltroAlumno")->setText("LUCIA");
        QCOMPARE(course->model()->rowCount(), 2);
        Boxes::startScript();
        Boxes::answer(true, QStringLiteral("Lucía"));
        matches->setCurrentRow(0);
        QTest::mouseClick(view.findChild<QPushButton*>("BtUnir"), Qt::LeftButton);
        QCOMPARE(Boxes::unanswered(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!view.reading(), 20000);
        QCoreApplication::processEvents();
        // Without keys, no marks: the mean and the questions answered are blank.
        QCOMPARE(cells(course), QStringList({"Lucía|2|2|||sin clave|20/11/2026"}));
        QCOMPARE(matches->count(), 0);
        QSettings ini(dir.filePath("alumnos.ini"), QSettings::IniFormat);
        QCOMPARE(ini.value("uniones/size").toInt(), 1);

        clickStudent(view, QStringLiteral("Lucía"));
        QCOMPARE(view.findChild<QPlainTextEdit*>("PorRetomar")->toPlainText(),
                 QStringLiteral("A, cuestión 1.2"));
        QTemporaryDir out;
        Boxes::answer(true, out.filePath("lucia"));
        QTest::mouseClick(view.findChild<QPushButton*>("BtInformeAlumno"), Qt::LeftButton);
        QFile pdf(out.filePath("lucia.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");

        // Separating her names puts the three rows back, and the file says so.
        QTest::mouseClick(view.findChild<QPushButton*>("BtSeparar"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!view.reading(), 20000);
        QCoreApplication::processEvents();
        view.findChild<QLineEdit*>("FiltroAlumno")->clear();
        QCOMPARE(course->model()->rowCount(), 3);
        QFile::remove(dir.filePath("alumnos.ini"));
    }

    // The command line reads the same joins: alumnos.ini in the folder, or the file named.
    void commandLineReports() {
        QTemporaryDir out;
        QSettings ini(out.filePath("uniones.ini"), QSettings::IniFormat);
        ini.beginWriteArray("uniones");
        ini.setArrayIndex(0);
        ini.setValue("nombre", "lucia");
        ini.setValue("alumno", QStringLiteral("Lucía"));
        ini.endArray();
        ini.sync();
        const QString joins = out.filePath("uniones.ini");
        int status = -1;
        QString text =
            run({"resumen", dir.path(), "--alumnos", joins, "--csv", out.path()}, status);
        QCOMPARE(status, 0);
        QFile csv(out.filePath("curso.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QVERIFY(csv.readAll().contains("\r\nLuc\xC3\xAD"
                                       "a,2,2,3,66.7,,,2026-11-20,3,2,,,\r\n"));

        text = run({"informe", dir.path(), "--alumnos", joins, "--alumno", "LUCIA", "--pdf",
                    out.filePath("l.pdf")},
                   status);
        QCOMPARE(status, 0);
        QVERIFY2(text.contains(QStringLiteral("Informe de Lucía guardado en")), qPrintable(text));
        text = run({"informe", dir.path(), "--todos", out.filePath("todos")}, status);
        QCOMPARE(status, 0);
        QCOMPARE(QDir(out.filePath("todos")).entryList(QDir::Files).size(), 3);

        const QList<std::pair<QStringList, int>> cases = {
            {{"informe", dir.path(), "--alumno", "Nadie", "--pdf", out.filePath("n.pdf")}, 1},
            {{"informe", dir.path(), "--alumno", "Beto"}, 64},
            {{"informe", dir.path(), "--todos", out.path(), "--alumno", "Beto"}, 64},
            {{"informe", dir.path(), "--todos", out.path(), "--alumnos", "no.ini"}, 64},
            {{"resumen", dir.path(), "--alumnos", out.filePath("no.ini")}, 64},
            {{"informe", dir.path(), "--alumno", "Beto", "--pdf", out.filePath("no/x/b.pdf")}, 3},
        };
        for (const auto& [arguments, expected] : cases) {
            run(arguments, status);
            QVERIFY2(status == expected, qPrintable(arguments.join(u' ')));
        }
    }

    // The family report: every cell of its lessons table at least as wide as its longest word
    // (the questions to take up again printed one letter a line), and the dates read without
    // the teacher's folder.
    void theFamilyReportKeepsItsWordsWhole() {
        CourseStudent student;
        student.name = QStringLiteral("Lucía");
        CourseLesson lesson;
        lesson.hasKey = true;
        lesson.sectionsCompleted = 2;
        lesson.sectionsOffered = 5;
        lesson.wrongAtLast = {{2, 1, "¿Qué?"}, {3, 1, ""}, {3, 2, ""}, {4, 2, ""}};
        lesson.mark = 33;
        lesson.gradable = 9;
        lesson.gradableAnswered = 4;
        for (int n = 1; n <= 3; ++n) {
            lesson.lesson = QStringLiteral("La_excursión_al_volcán_%1").arg(n);
            lesson.visitDates = {{2026, 10, n}, {2026, 11, n}, {2026, 12, n}};
            student.lessons.append(lesson);
        }
        const QString period = SummaryPeriod({2026, 10, 1}, {2026, 12, 31});
        QCOMPARE(period, QStringLiteral("Desde el 01/10/2026 · hasta el 31/12/2026"));
        QBuffer pages;
        QVERIFY(pages.open(QIODevice::WriteOnly));
        QPdfWriter writer(&pages);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QTextDocument document;
        ChartTextObject charts(&document);
        BuildStudentReport(document, charts, student, period, &writer);
        // Laid out as printing lays it out: on the writer's page, within margins of 2 cm.
        document.documentLayout()->setPaintDevice(&writer);
        QTextFrameFormat frame = document.rootFrame()->frameFormat();
        frame.setMargin(2 / 2.54 * 96);
        document.rootFrame()->setFrameFormat(frame);
        document.setPageSize(QSizeF(writer.width(), writer.height()));
        int cells = 0;
        for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
            if (!QTextCursor(b).currentTable())
                continue;
            ++cells;
            const auto words =
                std::max<qsizetype>(1, b.text().split(u' ', Qt::SkipEmptyParts).size());
            QVERIFY2(b.layout()->lineCount() <= words, qPrintable(b.text()));
        }
        QCOMPARE(cells, 4 * 6);
    }
};

int main(int argc, char** argv) {
    qputenv("LC_ALL", "C.UTF-8");
    Application app(argc, argv);
    CourseWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "CourseWindowTest.moc"
