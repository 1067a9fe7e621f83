#pragma once

#include "commandline/VerbHelp.h"
#include "teacher/ClassSummary.h"
#include "teacher/StudentNames.h"

#include <QCommandLineParser>
#include <QDate>
#include <QString>
#include <QTextStream>

#include <functional>

// What resumen and informe read: the registers of a folder, between the days of --desde and
// --hasta (DD/MM/AAAA), names joined as the --alumnos file (or the folder's own) says, its
// subfolders when asked.
struct FolderOptions {
    QString subfolders = QStringLiteral("subcarpetas");
    QString from = QStringLiteral("desde");
    QString to = QStringLiteral("hasta");
    QString joins = QStringLiteral("alumnos");
};

// The options above as the verbs declare them.
QList<VerbOption> FolderVerbOptions();

// Why the verb's positional arguments are not one existing folder, for usageError; empty when
// they are.
QString FolderProblem(const QStringList& positional);

struct FolderReading {
    QDate from;
    QDate to;
    StudentNames names;
    ClassSummary summary;
    // -1 when the folder was read; else the exit status to end with: what usageError gave for a
    // wrong date or joins file, Exit::Findings when no register could be read.
    int status = -1;
};

// Reads and sums up the folder; every warning is written to err, one a line.
FolderReading ReadFolder(const QCommandLineParser& parser, const FolderOptions& options,
                         const QString& folder, QTextStream& err,
                         const std::function<int(const QString&)>& usageError);
