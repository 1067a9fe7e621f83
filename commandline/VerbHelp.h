#pragma once

#include "commandline/ExitStatus.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>

#include <utility>

// An option of a verb, declared once: the parser takes it from here and the help lists it.
struct VerbOption {
    QString name;  // "forzar", without the dashes
    QString value; // the value's name ("ARCHIVO"), empty for an option that takes none
    QString text;  // what it does, one Spanish sentence
};

// Everything a verb's --help says. The usage lines and the paragraphs are the verb's own; the
// options and the exit statuses are written from the lists, which are also what the parser and
// the manual page are checked against.
struct VerbHelp {
    QString usage; // after "Uso: ", one or more lines
    QString text;  // the paragraphs between the usage and the exit statuses
    QList<std::pair<Exit, QString>> statuses;
    QList<VerbOption> options;
};

QString HelpText(const VerbHelp& help);

// The options as the parser takes them.
QList<QCommandLineOption> ParserOptions(const VerbHelp& help);
