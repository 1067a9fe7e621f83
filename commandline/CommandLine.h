#pragma once

#include <QStringList>
#include <QTextStream>

// The teacher's program's command line: arguments (without the program's name) that start with a
// verb or an option run here; anything else opens the window.
bool isCommandLine(const QStringList& arguments);

// Runs the verb, or prints the help; returns the exit status.
int runCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err);

QString generalHelp();
