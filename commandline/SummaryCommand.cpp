#include "commandline/SummaryCommand.h"

#include "commandline/FolderReading.h"
#include "commandline/Usage.h"
#include "lesson/RegisterName.h"
#include "platform/core/Printable.h"
#include "print/SummaryPdf.h"
#include "teacher/ClassSummary.h"
#include "teacher/ItemAnalysis.h"
#include "teacher/SummaryCsv.h"
#include "teacher/SummaryTable.h"
#include "teacher/SummaryXlsx.h"
#include "teacher/VisitCopies.h"
#include "teacher/Words.h"

#include <QCommandLineParser>

namespace {

const QString kCsv = QStringLiteral("csv");
const QString kCsvExcel = QStringLiteral("csv-excel");
const QString kXlsx = QStringLiteral("xlsx");
const QString kPdf = QStringLiteral("pdf");
const QString kRestore = QStringLiteral("restaurar");

void printLesson(const LessonSummary& lesson, QTextStream& out) {
    int review = 0;
    for (const QuestionRow& q : lesson.questions)
        review += q.review ? 1 : 0;
    out << QStringLiteral("Lección %1: %2, %3, %4 para revisar%5.\n")
               .arg(EscapeControls(lesson.name),
                    Counted(int(lesson.students.size()), QStringLiteral("alumno"),
                            QStringLiteral("alumnos")),
                    Counted(int(lesson.questions.size()), QStringLiteral("cuestión respondida"),
                            QStringLiteral("cuestiones respondidas")),
                    QString::number(review),
                    lesson.hasKey ? QString() : QStringLiteral(" (sin clave)"));
    for (const QuestionRow& q : lesson.questions) {
        if (!q.review)
            continue;
        out << QStringLiteral("  revisar %1.%2: %3 de %4 correctas al primer intento (%5)")
                   .arg(q.section)
                   .arg(q.question)
                   .arg(q.firstRight)
                   .arg(q.students)
                   .arg(DisplayCell(q.firstRightPercent));
        if (q.mostWrongAnswer >= 0)
            out << QStringLiteral("; respuesta incorrecta más elegida: %1 (%2)")
                       .arg(QString::number(q.mostWrongAnswer),
                            Counted(q.mostWrongTimes, QStringLiteral("vez"),
                                    QStringLiteral("veces")));
        out << u'\n';
    }
    out << QStringLiteral("  %1\n").arg(MarksLine(lesson));
    for (const QString& line : {TestLine(lesson), CautionLine(lesson)}) {
        if (!line.isEmpty())
            out << QStringLiteral("  %1\n").arg(line);
    }
    for (const QString& line : FlagLines(lesson))
        out << QStringLiteral("  aviso %1\n").arg(EscapeControls(line));
}

} // namespace

QString SummaryCommand::name() const {
    return QStringLiteral("resumen");
}

QString SummaryCommand::description() const {
    return QStringLiteral("Resume los registros de una carpeta: cuestiones y alumnos.");
}

VerbHelp SummaryCommand::help() const {
    VerbHelp help{
        QStringLiteral(
            "dorvalia-docente resumen CARPETA [--desde DD/MM/AAAA] [--hasta DD/MM/AAAA]\n"
            "                              [--subcarpetas] [--csv CARPETA_SALIDA]\n"
            "                              [--csv-excel CARPETA_SALIDA]\n"
            "                              [--xlsx ARCHIVO] [--pdf ARCHIVO]\n"
            "                              [--alumnos ARCHIVO.ini] [--restaurar]"),
        QStringLiteral(
            "Lee los registros (*%1) de la carpeta y resume, por lección, cómo le fue a la\n"
            "clase: escribe las cuestiones que conviene revisar, las notas sobre 10 y los avisos\n"
            "de cada cuestión (muy fácil, muy difícil, no separa a quienes entendieron,\n"
            "¿clave equivocada?) y, si se piden, guarda las tablas de cuestiones y de alumnos.\n"
            "Las líneas que no se pueden leer se escriben en la salida de errores, con su\n"
            "archivo y su línea, y también las fechas dudosas (un ordenador en inglés escribe\n"
            "12/07/26 el 7 de diciembre), cada visita que las fechas elegidas dejan fuera solo\n"
            "por una de ellas, y cada visita que se dio por guardada y falta en su registro (en\n"
            "una carpeta de red, otro programa pudo escribir encima).\n")
            .arg(kRegisterSuffix),
        {{Exit::Done, QStringLiteral("se ha leído algún registro")},
         {Exit::Findings, QStringLiteral("no se ha podido leer ningún registro")},
         {Exit::NotWritten,
          QStringLiteral("no se ha podido guardar alguna de las tablas o el informe")},
         {Exit::WrongCall, QStringLiteral("los argumentos no son válidos")}},
        FolderVerbOptions(),
    };
    help.options += {
        {kCsv, QStringLiteral("CARPETA"),
         QStringLiteral("Guarda cuestiones.csv, alumnos.csv, curso.csv (cada alumno a lo largo "
                        "del curso) y respuestas.csv (las primeras elecciones de cada respuesta) "
                        "en esa carpeta.")},
        {kCsvExcel, QStringLiteral("CARPETA"),
         QStringLiteral("Los mismos archivos para un Excel en español: punto y coma entre "
                        "columnas y coma decimal.")},
        {kXlsx, QStringLiteral("ARCHIVO"), QStringLiteral("Guarda un libro de Excel.")},
        {kPdf, QStringLiteral("ARCHIVO"), QStringLiteral("Guarda un informe para imprimir (A4).")},
        {kRestore, QString(),
         QStringLiteral("Antes de leer, añade a su registro cada visita que falta en él (de la "
                        "copia que dejó al guardarse).")},
    };
    return help;
}

int SummaryCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const FolderOptions folderOptions;
    const QString csvOption = kCsv, csvExcelOption = kCsvExcel, xlsxOption = kXlsx,
                  pdfOption = kPdf, restoreOption = kRestore;
    if (const std::optional<int> done = ParseArguments(parser, name(), arguments, help(), out, err))
        return *done;
    const QStringList folders = parser.positionalArguments();
    if (const QString problem = FolderProblem(folders); !problem.isEmpty())
        return UsageError(err, name(), problem);
    const QString folder = folders.first();
    if (parser.isSet(restoreOption)) {
        QStringList failures;
        const int restored =
            RestoreMissingVisits(folder, parser.isSet(folderOptions.subfolders), failures);
        out << QStringLiteral("Visitas restauradas: %1.\n").arg(restored);
        for (const QString& failure : failures)
            err << EscapeControls(failure) << QStringLiteral(".\n");
    }
    FolderReading reading =
        ReadFolder(parser, folderOptions, folder, err,
                   [&](const QString& message) { return UsageError(err, name(), message); });
    if (reading.status >= 0)
        return reading.status;
    const ClassSummary& summary = reading.summary;
    out << QStringLiteral("Registros leídos: %1 de %2.\n")
               .arg(summary.registersRead)
               .arg(summary.registersFound);
    if (summary.visitsLeftOut > 0)
        out << QStringLiteral("Visitas fuera de las fechas elegidas: %1.\n")
                   .arg(summary.visitsLeftOut);
    if (summary.lessons.isEmpty())
        out << QStringLiteral("Ninguna visita en las fechas elegidas.\n");
    for (const LessonSummary& lesson : summary.lessons)
        printLesson(lesson, out);

    bool written = true;
    QString failure;
    auto report = [&](bool ok) {
        if (!ok)
            err << failure << QStringLiteral(".\n");
        written = written && ok;
    };
    if (parser.isSet(csvOption))
        report(WriteSummaryCsv(summary, parser.value(csvOption), failure));
    if (parser.isSet(csvExcelOption))
        report(WriteSummaryCsv(summary, parser.value(csvExcelOption), failure,
                               CsvStyle::SpanishExcel));
    if (parser.isSet(xlsxOption))
        report(WriteSummaryXlsx(summary, parser.value(xlsxOption), failure));
    if (parser.isSet(pdfOption)) {
        report(WriteSummaryPdf(summary, SummaryHeading(folder, reading.from, reading.to),
                               parser.value(pdfOption), failure));
    }
    out.flush();
    err.flush();
    return status(written ? Exit::Done : Exit::NotWritten);
}
