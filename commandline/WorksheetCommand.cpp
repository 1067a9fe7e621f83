#include "commandline/WorksheetCommand.h"

#include "commandline/Usage.h"

#include "lesson/LessonPlace.h"
#include "lesson/PublishedKey.h"
#include "platform/core/ToolkitError.h"
#include "print/Worksheet.h"
#include "teacher/Publication.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

QString WorksheetCommand::name() const {
    return QStringLiteral("ficha");
}

QString WorksheetCommand::description() const {
    return QStringLiteral("Escribe en PDF la ficha de una lección, para trabajar en papel.");
}

VerbHelp WorksheetCommand::help() const {
    return {
        QStringLiteral("dorvalia-docente ficha RUTA_lec.rtf --pdf SALIDA.pdf [--con-clave]"),
        QStringLiteral(
            "Escribe la ficha de la lección en PDF (A4): la lectura y, después, en una página\n"
            "nueva, las preguntas de cada sección con una casilla ante cada respuesta; cada\n"
            "pregunta queda en la misma página que sus respuestas. La ficha del alumno empieza\n"
            "con líneas para el nombre, el curso y la fecha. Con --con-clave es la copia del\n"
            "docente: la casilla de cada respuesta correcta va marcada, y cada respuesta lleva\n"
            "su juicio (Correcta, Incorrecta o Pendiente) y el comentario que leerá el alumno;\n"
            "necesita la clave sin proteger (_CRJ.TXT), no la publicada.\n"),
        {{Exit::Done, QStringLiteral("ficha escrita")},
         {Exit::Unreadable, QStringLiteral("no se puede leer la lectura o la clave")},
         {Exit::NotWritten,
          QStringLiteral("no se ha podido escribir el PDF (si ya existía, queda como estaba)")},
         {Exit::WrongCall, QStringLiteral("faltan o sobran argumentos")}},
        {{QStringLiteral("pdf"), QStringLiteral("SALIDA.pdf"),
          QStringLiteral("El PDF que se escribe.")},
         {QStringLiteral("con-clave"), QString(),
          QStringLiteral("La copia del docente, con juicios y comentarios.")}},
    };
}

int WorksheetCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QString pdf = QStringLiteral("pdf"), withKey = QStringLiteral("con-clave");
    if (const std::optional<int> done = ParseArguments(parser, name(), arguments, help(), out, err))
        return *done;
    if (parser.positionalArguments().size() != 1 || !parser.isSet(pdf))
        return UsageError(err, name(),
                          QStringLiteral("se espera RUTA_lec.rtf --pdf SALIDA.pdf [--con-clave]"));
    const LessonPlace lesson = LessonPlace::ofReading(parser.positionalArguments().first());
    const QString readingPath = lesson.readingPath();
    if (parser.isSet(withKey) && IsPublishedKey(lesson.keyToRead())) {
        // The class's copy is on every student's computer: no answers come out of it.
        err << QStringLiteral("dorvalia-docente ficha: %1.\n")
                   .arg(AnswersNeedPlainKey(lesson.keyToRead(), lesson.keyPath()));
        return status(Exit::Unreadable);
    }
    QStringList key;
    try {
        // The published key when the lesson has only that one, as the class reads it.
        key = ReadKeyFileLines(lesson.keyToRead());
    } catch (const ToolkitError& e) {
        err << QStringLiteral("dorvalia-docente ficha: no se puede leer la clave: %1\n")
                   .arg(e.spanish());
        return status(Exit::Unreadable);
    }
    if (!QFileInfo(readingPath).isFile()) {
        err << QStringLiteral("dorvalia-docente ficha: no se puede leer la lectura %1\n")
                   .arg(QDir::toNativeSeparators(readingPath));
        return status(Exit::Unreadable);
    }
    const QString output = parser.value(pdf);
    QString failure;
    if (!WriteWorksheetPdf(readingPath, key,
                           parser.isSet(withKey) ? WorksheetCopy::Docente : WorksheetCopy::Alumno,
                           output, failure)) {
        err << QStringLiteral("dorvalia-docente ficha: %1\n").arg(failure);
        return status(Exit::NotWritten);
    }
    out << QStringLiteral("Ficha escrita en %1.\n").arg(QDir::toNativeSeparators(output));
    return status(Exit::Done);
}
