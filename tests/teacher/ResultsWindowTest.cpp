#include "commandline/CommandLine.h"
#include "platform/Application.h"
#include "platform/Boxes.h"
#include "platform/core/Clock.h"
#include "tests/teacher/TeacherTesting.h"
#include "windows/teacher/ClassResultsView.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray kColumns = "Nombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,1er intento\r\n";

// Register n of the class: Ana right at once on day n, Beto wrong then right; one damaged line.
QByteArray classRegister(int day) {
    const QByteArray date = QByteArray::number(day) + "/12/2026";
    return "Ana," + date + ",L\r\n" + kColumns + "Ana,1,1,1,Correcta,si\r\n" + "Beto," + date +
           ",L\r\n" + kColumns + "Beto,1,1,2,Incorrecta\r\nBeto,1,1,1,Correcta\r\nBeto,1,x\r\n";
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class ResultsWindowTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    static constexpr int kRegisters = 200;

    void read(ClassResultsView& view, const QString& folder) {
        view.findChild<QLineEdit*>("Carpeta")->setText(QDir::toNativeSeparators(folder));
        QTest::mouseClick(view.findChild<QPushButton*>("BtLeer"), Qt::LeftButton);
        // The reading runs beside the event loop, which goes on serving the window.
        QTRY_VERIFY_WITH_TIMEOUT(!view.reading(), 20000);
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase() {
        for (int n = 1; n <= kRegisters; ++n)
            write(dir.filePath(QStringLiteral("L%1_reg.csv").arg(n, 3, 10, QLatin1Char('0'))),
                  classRegister(1 + n % 7));
    }
    void cleanup() { Boxes::stopScript(); }

    void readsAFolderIntoTheTables() {
        ClassResultsView view;
        view.resize(1000, 600);
        view.show();
        read(view, dir.path());
        auto* progress = view.findChild<QProgressBar*>("Progreso");
        QCOMPARE(progress->maximum(), kRegisters);
        QCOMPARE(progress->value(), kRegisters);
        const QStringList questions = cells(view.findChild<QTableView*>("TablaCuestiones"));
        QCOMPARE(questions.size(), 1);
        QVERIFY2(questions[0].startsWith(QStringLiteral("1|1|2|1|50,0\u00A0%|2|200||||")),
                 qPrintable(questions[0]));
        QCOMPARE(cells(view.findChild<QTableView*>("TablaAlumnos")),
                 QStringList({"Ana|200|200|200|0|0|1|1|||", "Beto|200|400|200|200|0|0|1|||"}));

        // From 7 December on, Beto's first visit is one where he was wrong first, still.
        view.findChild<QCheckBox*>("FiltrarFechas")->setChecked(true);
        view.findChild<QDateEdit*>("Desde")->setDate(QDate(2026, 12, 7));
        view.findChild<QDateEdit*>("Hasta")->setDate(QDate(2026, 12, 31));
        read(view, dir.path());
        QCOMPARE(cells(view.findChild<QTableView*>("TablaAlumnos")).value(0),
                 QStringLiteral("Ana|28|28|28|0|0|1|1|||"));
        QCOMPARE(view.summary().problems.size(), kRegisters);
    }

    // The dates offered are the week up to today, as the program's clock tells it.
    void theDatesOfferedEndToday() {
        Clock::setNow(QDateTime(QDate(2026, 3, 2), QTime(23, 59)));
        ClassResultsView view;
        Clock::setNow(std::nullopt);
        QCOMPARE(view.findChild<QDateEdit*>("Desde")->date(), QDate(2026, 2, 23));
        QCOMPARE(view.findChild<QDateEdit*>("Hasta")->date(), QDate(2026, 3, 2));
    }

    void exportsThroughTheDialogs() {
        ClassResultsView view;
        read(view, dir.path());
        QTemporaryDir out;
        Boxes::startScript();
        Boxes::answer(true, out.filePath("libro"));
        Boxes::answer(true, out.filePath("csv"));
        Boxes::answer(true, out.filePath("informe.pdf"));
        QTest::mouseClick(view.findChild<QPushButton*>("BtExportarXlsx"), Qt::LeftButton);
        QTest::mouseClick(view.findChild<QPushButton*>("BtExportarCsv"), Qt::LeftButton);
        QTest::mouseClick(view.findChild<QPushButton*>("BtExportarPdf"), Qt::LeftButton);
        QCOMPARE(Boxes::unanswered(), 0);
        for (const char* name : {"libro.xlsx", "csv/cuestiones.csv", "csv/alumnos.csv"})
            QVERIFY2(QFileInfo(out.filePath(name)).size() > 0, name);
        QFile pdf(out.filePath("informe.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
        // The charts are drawn in the page, not pasted as pictures.
        QVERIFY(!pdf.readAll().contains("/Subtype /Image"));

        Boxes::startScript();
        read(view, dir.filePath("no_existe"));
        QCOMPARE(Boxes::shown().size(), 1);
        QVERIFY(Boxes::shown()[0].text.startsWith(QStringLiteral("No existe la carpeta «")));
    }

    void commandLine() {
        QTemporaryDir out;
        int status = -1;
        const QString text = run({"resumen", dir.path(), "--desde", "7/12/2026", "--csv",
                                  out.filePath("csv"), "--xlsx", out.filePath("r.xlsx")},
                                 status);
        QCOMPARE(status, 0);
        QVERIFY(text.contains(QStringLiteral("Registros leídos: 200 de 200.")));
        QVERIFY(text.contains(QStringLiteral("L001_reg.csv:8: línea dañada; se omite")));
        QVERIFY(QFileInfo(out.filePath("csv/alumnos.csv")).size() > 0);
        QVERIFY(QFileInfo(out.filePath("r.xlsx")).size() > 0);

        const QList<std::pair<QStringList, int>> cases = {
            {{"resumen", out.path()}, 1},
            {{"resumen", dir.path(), "--hasta", "31/02/2026"}, 64},
            {{"resumen", dir.path(), "--desde", "8/12/2026", "--hasta", "1/12/2026"}, 64},
            {{"resumen"}, 64},
            {{"resumen", dir.path(), "--xlsx", out.filePath("no/existe/r.xlsx")}, 3},
        };
        for (const auto& [arguments, expected] : cases) {
            run(arguments, status);
            QVERIFY2(status == expected, qPrintable(arguments.join(u' ')));
        }
    }

    // A Spanish computer's register, dated by its last change, and an English one copied later,
    // whose 12/05/26 may be 5 December: the window's filter and resumen's both say they leave
    // it out. The command line counts in Spanish, and writes CSV files for a Spanish Excel.
    void aFilterNamesTheVisitsItLeavesOutOnlyByReading() {
        QTemporaryDir folder;
        const QList<std::tuple<QString, QByteArray, int>> registers = {
            {"L071226_reg.csv",
             "Ana,07/12/26,L\r\n" + kColumns + "Ana,1,1,2,Incorrecta\r\nAna,1,1,1,Correcta\r\n", 7},
            {"L120526_reg.csv", "Hugo,12/05/26,L\r\n" + kColumns + "Hugo,1,1,1,Correcta,si\r\n",
             20}};
        for (const auto& [name, bytes, day] : registers) {
            write(folder.filePath(name), bytes);
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime(QDate(2026, 12, day), QTime(12, 0)),
                                     QFileDevice::FileModificationTime));
        }
        const QString notice =
            QDir::toNativeSeparators(folder.filePath("L120526_reg.csv")) +
            QStringLiteral(":1: visita de «Hugo» no incluida: su fecha «12/05/26» "
                           "se lee como el 12/05/2026, fuera de las fechas "
                           "elegidas, pero puede ser el 05/12/2026");

        ClassResultsView view;
        view.findChild<QCheckBox*>("FiltrarFechas")->setChecked(true);
        view.findChild<QDateEdit*>("Desde")->setDate(QDate(2026, 11, 30));
        view.findChild<QDateEdit*>("Hasta")->setDate(QDate(2026, 12, 7));
        read(view, folder.path());
        const QString avisos = view.findChild<QPlainTextEdit*>("Avisos")->toPlainText();
        QVERIFY2(avisos.contains(notice), qPrintable(avisos));
        QVERIFY2(avisos.contains(QStringLiteral("L120526_reg.csv: fecha dudosa: «12/05/26»")),
                 qPrintable(avisos));
        QCOMPARE(cells(view.findChild<QTableView*>("TablaAlumnos")).size(), 1);

        // The folder dialog of an export starts in the teacher's documents.
        Boxes::startScript();
        Boxes::answer(false);
        QTest::mouseClick(view.findChild<QPushButton*>("BtExportarCsvExcel"), Qt::LeftButton);
        QCOMPARE(Boxes::shown().size(), 1);
        QCOMPARE(Boxes::shown()[0].text,
                 QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));

        QTemporaryDir out;
        int status = -1;
        const QString text = run({"resumen", folder.path(), "--desde", "30/11/2026", "--hasta",
                                  "07/12/2026", "--csv-excel", out.filePath("excel")},
                                 status);
        QCOMPARE(status, 0);
        for (const QString& expected :
             {notice, QStringLiteral("Lección L: 1 alumno, 1 cuestión respondida, 1 para revisar"),
              QStringLiteral("respuesta incorrecta más elegida: 2 (1 vez)")})
            QVERIFY2(text.contains(expected), qPrintable(text));
        QFile csv(out.filePath("excel/cuestiones.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = csv.readAll().split('\n');
        QVERIFY(lines[0].startsWith("\xEF\xBB\xBFLecci\xC3\xB3n;Secci\xC3\xB3n;"));
        QVERIFY2(lines[1].startsWith("L;1;1;1;0;0,0;2;1;;;revisar;2;;;0,0;50,0;50,0;;;\r"),
                 lines[1].constData());
    }
};

int main(int argc, char** argv) {
    qputenv("LC_ALL", "C.UTF-8");
    Application app(argc, argv);
    ResultsWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ResultsWindowTest.moc"
