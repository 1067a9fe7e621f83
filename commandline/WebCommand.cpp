#include "commandline/WebCommand.h"

#include "commandline/Usage.h"

#include "platform/core/ToolkitError.h"
#include "print/LessonReader.h"
#include "print/WebExport.h"
#include "teacher/LessonCheck.h"
#include "teacher/Words.h"

#include <QCommandLineParser>
#include <QDir>

QString WebCommand::name() const {
    return QStringLiteral("web");
}

QString WebCommand::description() const {
    return QStringLiteral("Publica una lección como página web y como paquete SCORM 1.2.");
}

VerbHelp WebCommand::help() const {
    return {
        QStringLiteral("dorvalia-docente web RUTA_lec.rtf CARPETA [--sin-voz] [--forzar]"),
        QStringLiteral(
            "Publica una lección para leerla en cualquier navegador y en la plataforma del\n"
            "centro (Moodle). Primero la revisa como «revisar» y escribe sus problemas, uno por\n"
            "línea. Después escribe en CARPETA:\n"
            "  NOMBRE/            la página: se abre index.html con cualquier navegador, desde\n"
            "                     el disco, una memoria USB o un servidor, sin conexión;\n"
            "  NOMBRE_scorm.zip   la misma página como paquete SCORM 1.2, para subirlo como\n"
            "                     actividad SCORM.\n"
            "La página juzga las respuestas como el programa del alumno; las respuestas van\n"
            "ocultas en sus archivos, a salvo de una mirada casual, pero no de quien sepa\n"
            "programar. Publicar otra vez sustituye la página entera y el paquete. Sin\n"
            "plataforma, el alumno guarda al final su registro (NOMBRE…_web-…_reg.csv); dejado\n"
            "en la carpeta de la clase, «resumen» lo cuenta con los del aula.\n"
            "Con --sin-voz, la página no ofrece «Escuchar».\n"),
        {{Exit::Done, QStringLiteral("la página y el paquete se han escrito")},
         {Exit::Findings, QStringLiteral("la lección tiene errores y no se ha publicado "
                                         "(publíquela con --forzar)")},
         {Exit::Unreadable, QStringLiteral("la lección no se puede leer (falta su texto o su "
                                           "clave, o no se pueden abrir)")},
         {Exit::NotWritten, QStringLiteral("no se ha podido escribir en CARPETA: lo que había "
                                           "sigue igual")},
         {Exit::WrongCall, QStringLiteral("faltan o sobran argumentos")}},
        {{QStringLiteral("sin-voz"), QString(),
          QStringLiteral("No deja escuchar la lectura en voz alta.")},
         {QStringLiteral("forzar"), QString(),
          QStringLiteral("Publica la lección aunque tenga errores.")}},
    };
}

int WebCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    if (const std::optional<int> done = ParseArguments(parser, name(), arguments, help(), out, err))
        return *done;
    const QStringList paths = parser.positionalArguments();
    if (paths.size() != 2)
        return UsageError(err, name(),
                          paths.isEmpty()    ? QStringLiteral("faltan la ruta de la lección "
                                                                 "(RUTA_lec.rtf) y la carpeta.")
                          : paths.size() < 2 ? QStringLiteral("falta la carpeta.")
                                             : QStringLiteral("sobran argumentos: se publica "
                                                              "una lección cada vez."));

    const LessonReport report = checkLessonFiles(paths[0], readLessonText);
    for (const Problem& problem : report.problems)
        out << problemLine(problem) << u'\n';
    const int errors = report.count(Problem::Severity::Error);
    if (report.unreadable) {
        out << QStringLiteral("La lección no se puede leer: no se ha publicado.\n");
        return status(Exit::Unreadable);
    }
    if (errors > 0 && !parser.isSet(QStringLiteral("forzar"))) {
        out << QStringLiteral("La lección tiene %1: no se ha publicado. Corríjala, o publíquela "
                              "igual con --forzar.\n")
                   .arg(Counted(errors, QStringLiteral("error"), QStringLiteral("errores")));
        return status(Exit::Findings);
    }
    const bool voice = !parser.isSet(QStringLiteral("sin-voz"));
    WebPublication done;
    try {
        done = publishForWeb(report, paths[1], voice);
    } catch (const ToolkitError& e) {
        err << QStringLiteral("dorvalia-docente web: %1.\n").arg(e.spanish());
        return status(Exit::NotWritten);
    }
    out << QStringLiteral("Página: %1\n")
               .arg(QDir::toNativeSeparators(
                   QDir(done.pageFolder).filePath(QStringLiteral("index.html"))));
    out << QStringLiteral("Paquete SCORM 1.2: %1\n")
               .arg(QDir::toNativeSeparators(done.packagePath));
    if (!voice)
        out << QStringLiteral("Los alumnos no podrán escuchar la lectura en voz alta.\n");
    out.flush();
    err.flush();
    return status(Exit::Done);
}
