#include "InformeCommand.h"

#include "CourseSummary.h"
#include "FolderReading.h"
#include "RegisterName.h"
#include "StudentPdf.h"
#include "SummaryPdf.h"
#include "Usage.h"

#include <QCommandLineParser>
#include <QDir>
#include <QSet>

QString InformeCommand::name() const {
    return QStringLiteral("informe");
}

QString InformeCommand::description() const {
    return QStringLiteral("Guarda el informe de un alumno (o de todos) a lo largo del curso.");
}

QString InformeCommand::help() {
    return QStringLiteral(
        "Uso: dorvalia-docente informe CARPETA --alumno NOMBRE --pdf SALIDA.pdf\n"
        "     dorvalia-docente informe CARPETA --todos CARPETA_SALIDA\n"
        "            [--desde DD/MM/AAAA] [--hasta DD/MM/AAAA] [--subcarpetas]\n"
        "            [--alumnos ARCHIVO.ini]\n"
        "\n"
        "Lee los registros de la carpeta como «resumen» y guarda el «Informe del alumno»\n"
        "(A4): sus lecciones en el orden en que las hizo, el gráfico de correctas al primer\n"
        "intento por lección y las cuestiones que respondió mal en su último intento.\n"
        "El nombre se busca sin distinguir mayúsculas; los nombres unidos en el archivo de\n"
        "alumnos cuentan como un solo alumno.\n"
        "\n"
        "Opciones:\n"
        "  --alumno NOMBRE     El alumno del informe.\n"
        "  --pdf ARCHIVO       Dónde guardar su informe.\n"
        "  --todos CARPETA     Un informe por alumno en esa carpeta («Informe de NOMBRE.pdf»).\n"
        "  --desde FECHA       Solo las visitas de esa fecha en adelante.\n"
        "  --hasta FECHA       Solo las visitas hasta esa fecha.\n"
        "  --subcarpetas       Lee también los registros de las subcarpetas.\n"
        "  --alumnos ARCHIVO   Los nombres unidos en un alumno (por omisión, alumnos.ini de\n"
        "                      la carpeta, si existe).\n"
        "  -h, --help          Muestra esta ayuda.\n"
        "\n"
        "Estado de salida:\n"
        "  0  informes guardados;\n"
        "  1  no se ha podido leer ningún registro, o el alumno no tiene visitas en ellos;\n"
        "  2  los argumentos no son válidos;\n"
        "  3  no se ha podido guardar algún informe.\n");
}

int InformeCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption studentOption(QStringLiteral("alumno"), {}, QStringLiteral("NOMBRE"));
    const QCommandLineOption pdfOption(QStringLiteral("pdf"), {}, QStringLiteral("ARCHIVO"));
    const QCommandLineOption allOption(QStringLiteral("todos"), {}, QStringLiteral("CARPETA"));
    const FolderOptions folderOptions;
    parser.addOptions({studentOption, pdfOption, allOption, folderOptions.from, folderOptions.to,
                       folderOptions.subfolders, folderOptions.joins});
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
            return 3;
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
            return 1;
        }
        reports.append({student, parser.value(pdfOption)});
    }
    const QString heading = SummaryHeading(folder, reading.from, reading.to);
    bool written = true;
    QString failure;
    for (const auto& [student, path] : reports) {
        if (WriteStudentPdf(*student, heading, path, failure)) {
            out << QStringLiteral("Informe de %1 guardado en %2.\n")
                       .arg(student->name, QDir::toNativeSeparators(path));
        } else {
            err << failure << QStringLiteral(".\n");
            written = false;
        }
    }
    out.flush();
    err.flush();
    return written ? 0 : 3;
}
