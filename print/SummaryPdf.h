#pragma once

#include "teacher/ClassSummary.h"

#include <QString>

// The printable report of the class's results: A4, one part per lesson with its two charts and
// its tables of questions and students, then the lines that could not be read. heading says
// what was read (folder and dates). False with a Spanish reason on failure.
bool WriteSummaryPdf(const ClassSummary& summary, const QString& heading, const QString& path,
                     QString& failure);

// "Carpeta: … · desde el 01/12/2026 · hasta el 07/12/2026"
QString SummaryHeading(const QString& folder, const QDate& from, const QDate& to);
// The dates alone, for what leaves the school: "Desde el 01/12/2026 · hasta el 07/12/2026";
// empty when no date was chosen.
QString SummaryPeriod(const QDate& from, const QDate& to);
