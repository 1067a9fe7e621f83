#include "commandline/ReviseCommand.h"

#include "commandline/Usage.h"

#include "print/LessonReader.h"
#include "teacher/LessonCheck.h"

#include <QCommandLineParser>

QString ReviseCommand::name() const {
    return QStringLiteral("revisar");
}

QString ReviseCommand::description() const {
    return QStringLiteral("Revisa lecciones antes de la clase y escribe sus problemas.");
}

VerbHelp ReviseCommand::help() const {
    return {
        QStringLiteral("dorvalia-docente revisar RUTA_lec.rtf..."),
        QStringLiteral(
            "Revisa cada lección antes de la clase. Lee su texto y su clave (el archivo _CRJ.TXT\n"
            "de la misma lección) como los lee el programa del alumno, y escribe un problema por\n"
            "línea:\n"
            "\n"
            "  ARCHIVO:LÍNEA: gravedad: texto\n"
            "\n"
            "ARCHIVO es el texto de la lección o su clave. LÍNEA es la línea de la clave, contada\n"
            "desde 1, o, en el texto, la línea de la marca de la sección tal como la muestra la\n"
            "ventana de la lección al abrirse; falta cuando el problema es del archivo entero.\n"
            "La gravedad es una de estas:\n"
            "  error   el alumno verá algo mal o no podrá terminar;\n"
            "  aviso   probablemente es un descuido;\n"
            "  nota    está permitido, y quizá es lo que se quería.\n"
            "Al final escribe una línea de resumen con las lecciones revisadas y los problemas.\n"),
        {{Exit::Done, QStringLiteral("ninguna lección tiene errores")},
         {Exit::Findings, QStringLiteral("alguna lección tiene errores")},
         {Exit::Unreadable, QStringLiteral("alguna lección no se puede leer (falta su texto o su "
                                           "clave, o no se pueden abrir)")},
         {Exit::WrongCall, QStringLiteral("no se ha dado ninguna lección, o una opción no "
                                          "válida")}},
        {},
    };
}

QString reviseSummary(int lessons, int errors, int warnings, int notes, int pending) {
    return QString::number(lessons) +
           (lessons == 1 ? QStringLiteral(" lección revisada: ")
                         : QStringLiteral(" lecciones revisadas: ")) +
           problemCounts(errors, warnings, notes, pending) + u'.';
}

int ReviseCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    if (const std::optional<int> done = ParseArguments(parser, name(), arguments, help(), out, err))
        return *done;
    const QStringList paths = parser.positionalArguments();
    if (paths.isEmpty())
        return UsageError(err, name(),
                          QStringLiteral("falta la ruta de una lección (RUTA_lec.rtf)."));
    int errors = 0, warnings = 0, notes = 0, pending = 0;
    bool unreadable = false, wrong = false;
    for (const QString& path : paths) {
        const LessonReport report = checkLessonFiles(path, readLessonText);
        for (const Problem& problem : report.problems)
            out << problemLine(problem) << u'\n';
        const int lessonErrors = report.count(Problem::Severity::Error);
        errors += lessonErrors;
        warnings += report.count(Problem::Severity::Aviso);
        notes += report.count(Problem::Severity::Nota);
        pending += report.pendingAnswers;
        unreadable = unreadable || report.unreadable;
        wrong = wrong || lessonErrors > 0;
    }
    out << reviseSummary(int(paths.size()), errors, warnings, notes, pending) << u'\n';
    out.flush();
    return status(unreadable ? Exit::Unreadable : wrong ? Exit::Findings : Exit::Done);
}
