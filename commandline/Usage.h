#pragma once

#include "commandline/VerbHelp.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>

// What a verb writes when it is called wrongly: "dorvalia-docente VERBO: MENSAJE" and where its
// help is. Returns every verb's exit status for a wrong call (Exit::WrongCall).
int UsageError(QTextStream& err, const QString& verb, const QString& message);

// Why parse() refused the arguments, in Spanish: Qt's own text is in English.
QString ParseErrorText(const QCommandLineParser& parser, const QStringList& arguments);

// Parses a verb's arguments with the options its help declares, -h/--help added. Gives the exit
// status when the verb is done already: the arguments were refused (said on err) or the help was
// asked (written to out); nothing when the verb goes on.
std::optional<int> ParseArguments(QCommandLineParser& parser, const QString& verb,
                                  const QStringList& arguments, const VerbHelp& help,
                                  QTextStream& out, QTextStream& err);
