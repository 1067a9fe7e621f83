#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QPagedPaintDevice;
class QTextDocument;

// The worksheet of a lesson for students working on paper: the reading, then each section's
// questions with a box before each answer. The student's sheet has lines for the name, the class
// and the date; the teacher's copy ticks the right answers and gives each answer's judgment and
// feedback beside it.
enum class WorksheetCopy { Alumno, Docente };

// Appends the questions of the key's sections (in their numbers' order) to the document, under
// a heading of their own on a new page.
void AppendWorksheetQuestions(QTextDocument& document, const QStringList& keyLines,
                              WorksheetCopy copy);

// The whole worksheet laid out on A4 pages, each question on the same page as its answers; null
// with a Spanish reason when the reading cannot be read.
std::unique_ptr<QTextDocument> MakeWorksheet(const QString& readingPath,
                                             const QStringList& keyLines, WorksheetCopy copy,
                                             QString& failure);

// Prints a worksheet that MakeWorksheet made, its pages scaled to the device's pages.
void PrintWorksheet(QTextDocument& worksheet, QPagedPaintDevice& device);

// The worksheet as an A4 PDF, written atomically. False with a Spanish reason on failure.
bool WriteWorksheetPdf(const QString& readingPath, const QStringList& keyLines, WorksheetCopy copy,
                       const QString& pdfPath, QString& failure);
