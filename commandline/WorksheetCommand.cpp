#include "WorksheetCommand.h"

#include "Usage.h"

#include "LessonPlace.h"
#include "PublishedKey.h"
#include "ToolkitError.h"
#include "Worksheet.h"

#include <QCommandLineParser>
#include <QDir>

QString WorksheetCommand::name() const {
    return QStringLiteral("ficha");
}

QString WorksheetCommand::description() const {
    return QStringLiteral("Escribe en PDF la ficha de una lección, para trabajar en papel.");
}

QString WorksheetCommand::help() {
    return QStringLiteral(
        "Uso: dorvalia-docente ficha RUTA_lec.rtf --pdf SALIDA.pdf [--con-clave]\n"
        "\n"
        "Escribe la ficha de la lección en PDF (A4): la lectura y, después, las preguntas de\n"
        "cada sección con sus respuestas para marcar. Con --con-clave es la copia del\n"
        "docente: cada respuesta lleva su juicio (Correcta, Incorrecta o Pendiente) y el\n"
        "comentario que leerá el alumno.\n"
        "\n"
        "Estado de salida:\n"
        "  0  ficha escrita;\n"
        "  2  no se puede leer la lectura o la clave, o escribir el PDF.\n"
        "\n"
        "Opciones:\n"
        "  --pdf SALIDA.pdf  El PDF que se escribe.\n"
        "  --con-clave       La copia del docente, con juicios y comentarios.\n"
        "  -h, --help        Muestra esta ayuda.\n");
}

int WorksheetCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption pdf(QStringLiteral("pdf"), QString(), QStringLiteral("SALIDA.pdf"));
    const QCommandLineOption withKey(QStringLiteral("con-clave"));
    parser.addOptions({pdf, withKey});
    if (const std::optional<int> done = ParseArguments(parser, name(), arguments, help(), out, err))
        return *done;
    if (parser.positionalArguments().size() != 1 || !parser.isSet(pdf))
        return UsageError(err, name(),
                          QStringLiteral("se espera RUTA_lec.rtf --pdf SALIDA.pdf [--con-clave]"));
    const LessonPlace lesson = LessonPlace::ofReading(parser.positionalArguments().first());
    const QString readingPath = lesson.readingPath();
    QStringList key;
    try {
        // The published key when the lesson has only that one, as the class reads it.
        key = ReadKeyFileLines(lesson.keyToRead());
    } catch (const ToolkitError& e) {
        err << QStringLiteral("dorvalia-docente ficha: no se puede leer la clave: %1\n")
                   .arg(e.message());
        return 2;
    }
    const QString output = parser.value(pdf);
    QString failure;
    if (!WriteWorksheetPdf(readingPath, key,
                           parser.isSet(withKey) ? WorksheetCopy::Docente : WorksheetCopy::Alumno,
                           output, failure)) {
        err << QStringLiteral("dorvalia-docente ficha: %1\n").arg(failure);
        return 2;
    }
    out << QStringLiteral("Ficha escrita en %1.\n").arg(QDir::toNativeSeparators(output));
    return 0;
}
