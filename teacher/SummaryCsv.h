#pragma once

#include "teacher/SummaryTable.h"

#include <QByteArray>
#include <QString>

// How the fields and the numbers of a CSV file are written.
enum class CsvStyle {
    // Any spreadsheet in any language: commas between fields, a full stop before decimals.
    Standard,
    // A Spanish Excel, which opens a CSV by the system's list separator: semicolons between
    // fields, a comma before decimals.
    SpanishExcel,
};

// A table as a spreadsheet opens it: UTF-8 with a byte-order mark, CR LF, texts quoted where
// needed and guarded against formulas, percentages with one decimal.
QByteArray TableCsv(const SummaryTable& table, CsvStyle style = CsvStyle::Standard);

// Writes "cuestiones.csv", "alumnos.csv", "curso.csv", "respuestas.csv" and "prueba.csv" into
// folder (made if missing). False with a Spanish reason on failure.
bool WriteSummaryCsv(const ClassSummary& summary, const QString& folder, QString& failure,
                     CsvStyle style = CsvStyle::Standard);
