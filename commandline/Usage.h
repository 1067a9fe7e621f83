#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTextStream>

// What a verb writes when it is called wrongly: "dorvalia-docente VERBO: MENSAJE" and where its
// help is. Returns 2, every verb's exit status for a wrong call.
int UsageError(QTextStream& err, const QString& verb, const QString& message);

// Why parse() refused the arguments, in Spanish: Qt's own text is in English.
QString ParseErrorText(const QCommandLineParser& parser, const QStringList& arguments);
