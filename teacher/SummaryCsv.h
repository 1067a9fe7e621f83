#pragma once

#include "SummaryTable.h"

#include <QByteArray>
#include <QString>

// A table as a spreadsheet in any language opens it: UTF-8 with a byte-order mark, commas, CR LF,
// texts quoted where needed and guarded against formulas, numbers with a full stop and
// percentages with one decimal.
QByteArray TableCsv(const SummaryTable& table);

// Writes "cuestiones.csv" and "alumnos.csv" into folder (made if missing). False with a Spanish
// reason on failure.
bool WriteSummaryCsv(const ClassSummary& summary, const QString& folder, QString& failure);
