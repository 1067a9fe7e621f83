#include "Usage.h"

int UsageError(QTextStream& err, const QString& verb, const QString& message) {
    err << QStringLiteral("dorvalia-docente %1: %2\n").arg(verb, message)
        << QStringLiteral("Escriba «dorvalia-docente %1 --help» para ver la ayuda.\n").arg(verb);
    return 2;
}

QString ParseErrorText(const QCommandLineParser& parser, const QStringList& arguments) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return QStringLiteral("opción desconocida: %1").arg(unknown.join(QStringLiteral(", ")));
    // The other refusal is an option that takes a value given last, with none after it.
    if (!arguments.isEmpty() && arguments.last().startsWith(u'-'))
        return QStringLiteral("falta el valor tras %1").arg(arguments.last());
    return parser.errorText();
}
