#pragma once

#include "teacher/CourseSummary.h"

#include <QString>

// «Informe del alumno», to hand to a family or take to an evaluation meeting: A4, the student's
// figures over the term, the trend of first attempts per lesson, the lessons table and the
// questions to take up again. heading says what was read (folder and dates). False with a
// Spanish reason on failure.
bool WriteStudentPdf(const CourseStudent& student, const QString& heading, const QString& path,
                     QString& failure);

// "Informe de Lucía García.pdf", with the characters no file name may hold made "_".
QString ReportFileName(const QString& student);
