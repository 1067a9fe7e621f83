#include "commandline/ReportCommand.h"

#include "commandline/FolderReading.h"
#include "commandline/Usage.h"
#include "lesson/RegisterName.h"
#include "platform/core/Printable.h"
#include "print/StudentPdf.h"
#include "print/SummaryPdf.h"
#include "teacher/CourseSummary.h"

#include <QCommandLineParser>
#include <QDir>
#include <QSet>

namespace {

const QString kStudent = QStringLiteral("alumno");
const QString kPdf = QStringLiteral("pdf");
const QString kAll = QStringLiteral("todos");

} // namespace

QString ReportCommand::name() const {
    return QStringLiteral("informe");
}

QString ReportCommand::description() const {
    return QStringLiteral("Guarda el informe de un alumno (o de todos) a lo largo del curso.");
}

VerbHelp ReportCommand::help() const {
    VerbHelp help{
        QStringLiteral("dorvalia-docente informe CARPETA --alumno NOMBRE --pdf SALIDA.pdf\n"
                       "     dorvalia-docente informe CARPETA --todos CARPETA_SALIDA\n"
                       "            [--desde DD/MM/AAAA] [--hasta DD/MM/AAAA] [--subcarpetas]\n"
                       "            [--alumnos ARCHIVO.ini]"),
        QStringLiteral(
            "Lee los registros de la carpeta como «resumen» y guarda el «Informe del alumno»\n"
            "(A4): sus lecciones en el orden en que las hizo, el gráfico de correctas al primer\n"
            "intento por lección y las cuestiones que respondió mal en su último intento.\n"
            "El nombre se busca sin distinguir mayúsculas; los nombres unidos en el archivo de\n"
            "alumnos cuentan como un solo alumno.\n"),
        {{Exit::Done, QStringLiteral("informes guardados")},
         {Exit::Findings, QStringLiteral("no se ha podido leer ningún registro, o el alumno no "
                                         "tiene visitas en ellos")},
         {Exit::NotWritten, QStringLiteral("no se ha podido guardar algún informe")},
         {Exit::WrongCall, QStringLiteral("los argumentos no son válidos")}},
        {{kStudent, QStringLiteral("NOMBRE"), QStringLiteral("El alumno del informe.")},
         {kPdf, QStringLiteral("ARCHIVO"), QStringLiteral("Dónde guardar su informe.")},
         {kAll, QStringLiteral("CARPETA"),
          QStringLiteral("Un informe por alumno en esa carpeta («Informe de NOMBRE.pdf»).")}},
    };
    help.options += FolderVerbOptions();
    return help;
}

int ReportCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QString studentOption = kStudent, pdfOption = kPdf, allOption = kAll;
    const FolderOptions folderOptions;
    if (const std::optional<int> done = ParseArguments(parser, name(), arguments, help(), out, err))
        return *done;
    const QStringList folders = parser.positionalArguments();
    if (const QString problem = FolderProblem(folders); !problem.isEmpty())
        return UsageError(err, name(), problem);
    const QString folder = folders.first();
    const bool all = parser.isSet(allOption);
    if (all == parser.isSet(studentOption))
        return UsageError(err, name(),
                          QStringLiteral("pida --alumno NOMBRE con --pdf, o --todos."));
    if (!all && !parser.isSet(pdfOption))
        return UsageError(err, name(), QStringLiteral("falta --pdf SALIDA.pdf."));
    if (all && parser.isSet(pdfOption))
        return UsageError(err, name(),
                          QStringLiteral("--todos no lleva --pdf: escribe un archivo por "
                                         "alumno en su carpeta."));
    FolderReading reading =
        ReadFolder(parser, folderOptions, folder, err,
                   [&](const QString& message) { return UsageError(err, name(), message); });
    if (reading.status >= 0)
        return reading.status;
    const ClassSummary& summary = reading.summary;
    const StudentNames& names = reading.names;
    const QList<CourseStudent> students = CourseStudents(summary);
    QList<std::pair<const CourseStudent*, QString>> reports;
    if (all) {
        const QString target = parser.value(allOption);
        if (!QDir().mkpath(target)) {
            err << QStringLiteral("No se puede crear la carpeta %1.\n")
                       .arg(QDir::toNativeSeparators(target));
            return status(Exit::NotWritten);
        }
        QSet<QString> taken;
        for (const CourseStudent& student : students) {
            // Two names may make the same file name ("A/B", "A_B"): neither report is lost.
            QString file = ReportFileName(student.name);
            for (int n = 2; taken.contains(file.toCaseFolded()); ++n)
                file = ReportFileName(QStringLiteral("%1 (%2)").arg(student.name).arg(n));
            taken.insert(file.toCaseFolded());
            reports.append({&student, QDir(target).filePath(file)});
        }
    } else {
        const CourseStudent* student =
            FindCourseStudent(students, names.shownName(parser.value(studentOption)));
        if (!student) {
            err << QStringLiteral("Ninguna visita de «%1» en los registros leídos.\n")
                       .arg(parser.value(studentOption));
            return status(Exit::Findings);
        }
        reports.append({student, parser.value(pdfOption)});
    }
    // A family reads the report: the dates, never the teacher's folder.
    const QString period = SummaryPeriod(reading.from, reading.to);
    bool written = true;
    QString failure;
    for (const auto& [student, path] : reports) {
        if (WriteStudentPdf(*student, period, path, failure)) {
            out << EscapeControls(QStringLiteral("Informe de %1 guardado en %2.")
                                      .arg(student->name, QDir::toNativeSeparators(path)))
                << u'\n';
        } else {
            err << EscapeControls(failure) << QStringLiteral(".\n");
            written = false;
        }
    }
    out.flush();
    err.flush();
    return status(written ? Exit::Done : Exit::NotWritten);
}
