#pragma once

#include "teacher/ClassSummary.h"

#include <QString>

// The summary as an Excel workbook: sheets "Cuestiones", "Alumnos", "Curso", "Respuestas" and
// "Avisos", numbers as real numbers (percentages and marks with one decimal shown), texts as
// texts, so that Excel and LibreOffice read the same figures whatever their language. False with a
// Spanish reason on failure.
bool WriteSummaryXlsx(const ClassSummary& summary, const QString& path, QString& failure);
