#pragma once

#include <QString>
#include <QStringList>

class QTextDocument;

// The worksheet of a lesson for students working on paper: the reading, then each section's
// questions with their answers to tick. The teacher's copy adds each answer's judgment and its
// feedback.
enum class WorksheetCopy { Alumno, Docente };

// Appends the questions of the key's sections (in their numbers' order) to the document.
void AppendWorksheetQuestions(QTextDocument& document, const QStringList& keyLines,
                              WorksheetCopy copy);

// The reading (RTF, or plain text) with its questions as an A4 PDF, written atomically. False
// with a Spanish reason on failure.
bool WriteWorksheetPdf(const QString& readingPath, const QStringList& keyLines, WorksheetCopy copy,
                       const QString& pdfPath, QString& failure);
