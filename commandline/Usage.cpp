#include "commandline/Usage.h"

int UsageError(QTextStream& err, const QString& verb, const QString& message) {
    err << QStringLiteral("dorvalia-docente %1: %2\n").arg(verb, message)
        << QStringLiteral("Escriba «dorvalia-docente %1 --help» para ver la ayuda.\n").arg(verb);
    return status(Exit::WrongCall);
}

QString ParseErrorText(const QCommandLineParser& parser, const QStringList& arguments) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return QStringLiteral("opción desconocida: %1").arg(unknown.join(QStringLiteral(", ")));
    // The other refusals: an option that takes a value given last, with none after it, or a
    // value given with "=" to an option that takes none.
    if (!arguments.isEmpty() && arguments.last().startsWith(u'-') &&
        !arguments.last().contains(u'='))
        return QStringLiteral("falta el valor tras %1").arg(arguments.last());
    for (const QString& argument : arguments) {
        if (argument.startsWith(QStringLiteral("--")) && argument.contains(u'='))
            return QStringLiteral("la opción %1 no lleva valor").arg(argument.section(u'=', 0, 0));
    }
    return parser.errorText();
}

std::optional<int> ParseArguments(QCommandLineParser& parser, const QString& verb,
                                  const QStringList& arguments, const VerbHelp& help,
                                  QTextStream& out, QTextStream& err) {
    parser.addOptions(ParserOptions(help));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(helpOption);
    if (!parser.parse(QStringList{verb} + arguments))
        return UsageError(err, verb, ParseErrorText(parser, arguments));
    if (parser.isSet(helpOption)) {
        out << HelpText(help);
        return status(Exit::Done);
    }
    return std::nullopt;
}
