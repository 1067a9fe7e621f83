#pragma once

#include "commandline/VerbHelp.h"

#include <QStringList>
#include <QTextStream>

// One verb of the command line: `dorvalia-docente NAME ...`.
class Command {
public:
    virtual ~Command() = default;
    virtual QString name() const = 0;        // "revisar", "resumen"
    virtual QString description() const = 0; // one Spanish line for --help
    // Its usage, text, exit statuses and options: what --help writes and the parser takes.
    virtual VerbHelp help() const = 0;
    // arguments: what follows the verb. Returns the exit status.
    virtual int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) = 0;
};
