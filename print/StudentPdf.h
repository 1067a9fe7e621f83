#pragma once

#include "teacher/CourseSummary.h"

#include <QString>

class ChartTextObject;
class QPaintDevice;
class QTextDocument;

// «Informe del alumno», to hand to a family or take to an evaluation meeting: A4, the student's
// figures over the term, the mark per lesson, the lessons table and the questions to take up
// again. period names the dates read (no folder: a family has no use for the teacher's paths).
// False with a Spanish reason on failure.
bool WriteStudentPdf(const CourseStudent& student, const QString& period, const QString& path,
                     QString& failure);

// The report's content, laid out for that device (the PDF writer).
void BuildStudentReport(QTextDocument& document, ChartTextObject& charts,
                        const CourseStudent& student, const QString& period, QPaintDevice* device);

// The lessons table's columns in percent of the page's width, sized to their content on that
// device: none narrower than its longest word, the room left where cells would wrap.
QList<int> ContentShares(const SummaryTable& table, QPaintDevice* device);

// "Informe de Lucía García.pdf", with the characters no file name may hold made "_".
QString ReportFileName(const QString& student);
