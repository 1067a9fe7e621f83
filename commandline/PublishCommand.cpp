#include "commandline/PublishCommand.h"

#include "commandline/Usage.h"

#include "platform/core/ToolkitError.h"
#include "print/LessonReader.h"
#include "teacher/LessonCheck.h"
#include "teacher/Publication.h"
#include "teacher/Words.h"

#include <QCommandLineParser>
#include <QDir>

QString PublishCommand::name() const {
    return QStringLiteral("publicar");
}

QString PublishCommand::description() const {
    return QStringLiteral("Publica una lección en la carpeta de la clase, con la clave protegida.");
}

VerbHelp PublishCommand::help() const {
    return {
        QStringLiteral("dorvalia-docente publicar RUTA_lec.rtf CARPETA_DE_LA_CLASE [--forzar] "
                       "[--sin-voz]"),
        QStringLiteral(
            "Publica una lección para la clase. Primero la revisa como «revisar» y escribe "
            "sus\n"
            "problemas, uno por línea. Después copia la lectura (_lec.rtf) en la carpeta de "
            "la\n"
            "clase y escribe allí la clave protegida (_CRJ.dvk), que el programa del alumno "
            "lee y\n"
            "que no se puede leer ni cambiar con un editor. La clave sin proteger (_CRJ.TXT) "
            "no "
            "se\n"
            "copia nunca. Si ya hay una en la carpeta de la clase, lo avisa en una línea: el\n"
            "programa del alumno la leería en lugar de la protegida, y conviene borrarla.\n"
            "Publicar otra vez sustituye los dos archivos, cada uno entero o nada. La clave\n"
            "protegida lleva el nombre de la lección: copiada con el nombre de otra, no se "
            "lee.\n"
            "Con --sin-voz, los alumnos no pueden escuchar la lectura en voz alta (para una\n"
            "prueba de lectura); sin esa opción, sí.\n"
            "La clave protegida guarda qué lectura se publicó con ella: si una publicación se\n"
            "corta a medias, el programa del alumno, «revisar» y «resumen» lo notan y lo "
            "dicen.\n"
            "Si en la carpeta de la clase la lectura o la clave es un enlace a otro archivo, "
            "no\n"
            "se publica (estado 3) y no se escribe nada fuera de la carpeta.\n"),
        {{Exit::Done, QStringLiteral("la lección se ha publicado")},
         {Exit::Findings, QStringLiteral("la lección tiene errores y no se ha publicado "
                                         "(publíquela con --forzar)")},
         {Exit::Unreadable, QStringLiteral("la lección no se puede leer (falta su texto o su "
                                           "clave, o no se pueden abrir)")},
         {Exit::NotWritten, QStringLiteral("no se ha podido escribir en la carpeta de la clase")},
         {Exit::WrongCall, QStringLiteral("faltan o sobran argumentos")}},
        {{QStringLiteral("forzar"), QString(),
          QStringLiteral("Publica la lección aunque tenga errores.")},
         {QStringLiteral("sin-voz"), QString(),
          QStringLiteral("No deja escuchar la lectura en voz alta.")}},
    };
}

int PublishCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QString forceOption = QStringLiteral("forzar");
    const QString silentOption = QStringLiteral("sin-voz");
    if (const std::optional<int> done = ParseArguments(parser, name(), arguments, help(), out, err))
        return *done;
    const QStringList paths = parser.positionalArguments();
    if (paths.size() != 2)
        return UsageError(
            err, name(),
            paths.isEmpty()    ? QStringLiteral("faltan la ruta de la lección (RUTA_lec.rtf) "
                                                   "y la carpeta de la clase.")
            : paths.size() < 2 ? QStringLiteral("falta la carpeta de la clase.")
                               : QStringLiteral("sobran argumentos: se publica una lección "
                                                "cada vez."));
    // The published key can carry an exam, but the student's program does not hold one yet: no
    // lesson is published as an exam that students could answer as an ordinary lesson.
    const PublishChoices choices = {!parser.isSet(silentOption), false, false};

    const LessonReport report = checkLessonFiles(paths[0], readLessonText);
    for (const Problem& problem : report.problems)
        out << problemLine(problem) << u'\n';
    const int errors = report.count(Problem::Severity::Error);
    if (report.unreadable) {
        out << QStringLiteral("La lección no se puede leer: no se ha publicado.\n");
        return status(Exit::Unreadable);
    }
    if (errors > 0 && !parser.isSet(forceOption)) {
        out << QStringLiteral("La lección tiene %1: no se ha publicado. Corríjala, o publíquela "
                              "igual con --forzar.\n")
                   .arg(Counted(errors, QStringLiteral("error"), QStringLiteral("errores")));
        return status(Exit::Findings);
    }
    Publication done;
    try {
        done = publishLesson(report, paths[1], choices);
    } catch (const ToolkitError& e) {
        err << QStringLiteral("dorvalia-docente publicar: %1.\n").arg(e.spanish());
        return status(Exit::NotWritten);
    }
    out << QStringLiteral("Publicada: %1 y %2.\n")
               .arg(QDir::toNativeSeparators(done.textPath),
                    QDir::toNativeSeparators(done.keyPath));
    for (const QString& document : done.documents)
        out << QStringLiteral("Copiado también, como estaba junto a la lectura: %1.\n")
                   .arg(QDir::toNativeSeparators(document));
    for (const QString& document : done.programDocuments)
        out << QStringLiteral("Escrito también, porque faltaba en la carpeta: %1.\n")
                   .arg(QDir::toNativeSeparators(document));
    if (parser.isSet(silentOption))
        out << QStringLiteral("Los alumnos no podrán escuchar la lectura en voz alta.\n");
    for (const QString& plain : done.plainKeys)
        err << QStringLiteral("aviso: en la carpeta de la clase está la clave sin proteger %1: el "
                              "programa del alumno la lee en lugar de la publicada, y cualquiera "
                              "puede abrirla. Bórrela.\n")
                   .arg(QDir::toNativeSeparators(plain));
    out.flush();
    err.flush();
    return status(Exit::Done);
}
