#include "commandline/CommandLine.h"

#include "commandline/Commands.h"
#include "commandline/ExitStatus.h"

bool isCommandLine(const QStringList& arguments) {
    if (arguments.isEmpty())
        return false;
    const QString& first = arguments.first();
    if (first.startsWith(u'-'))
        return true;
    for (const auto& command : allCommands()) {
        if (command->name() == first)
            return true;
    }
    return false;
}

QString generalHelp() {
    QString help = QStringLiteral(
        "Uso: dorvalia-docente [RUTA_lec.rtf]\n"
        "     dorvalia-docente VERBO [ARGUMENTOS...]\n"
        "\n"
        "El programa del docente de Dorvalia. Sin verbo abre su ventana: con una ruta, sobre esa\n"
        "lección; sin ella, pide la lección con el diálogo de abrir archivo.\n"
        "\n"
        "Verbos:\n");
    for (const auto& command : allCommands())
        help += QStringLiteral("  %1  %2\n").arg(command->name(), -9).arg(command->description());
    help +=
        QStringLiteral("\n"
                       "Escriba «dorvalia-docente VERBO --help» para ver la ayuda de un verbo.\n"
                       "\n"
                       "Opciones:\n"
                       "  -h, --help  Muestra esta ayuda.\n");
    return help;
}

int runCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const QString& first = arguments.first();
    if (first == u"-h" || first == u"--help") {
        out << generalHelp();
        return status(Exit::Done);
    }
    for (const auto& command : allCommands()) {
        if (command->name() == first)
            return command->execute(arguments.mid(1), out, err);
    }
    err << QStringLiteral("dorvalia-docente: opción desconocida: %1\n").arg(first);
    err << QStringLiteral("Escriba «dorvalia-docente --help» para ver la ayuda.\n");
    return status(Exit::WrongCall);
}
