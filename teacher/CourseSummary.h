#pragma once

#include "teacher/ClassSummary.h"
#include "teacher/SummaryTable.h"

// Each student over the term, taken from the class summary's rows: nothing is read or counted a
// second way. A visit without a name cannot be followed from one lesson to the next, so it is
// left out here (the lesson's own table shows it).

// One lesson of a student's page.
struct CourseLesson {
    QString lesson;
    bool hasKey = false;
    QList<QDate> visitDates; // in time order; invalid for a visit of unknown date
    int visits = 0;
    int accepted = 0;
    int questionsAnswered = 0;
    int firstRight = 0;
    int sectionsCompleted = -1; // -1 without the key
    int sectionsOffered = 0;    // the key's sections
    QList<WrongQuestion> wrongAtLast;
    int mark = -1; // out of ten, in tenths; -1 without one
};

struct CourseStudent {
    QString name;
    int visits = 0;
    int accepted = 0;
    int questionsAnswered = 0;
    int firstRight = 0;
    // Over the lessons with their key: -1 when none of the student's lessons has one.
    int sectionsCompleted = -1;
    int sectionsOffered = -1;
    QDate lastVisit;             // invalid when no visit has a date
    QList<CourseLesson> lessons; // in time order: by the first visit's date, then by name
};

// The students of the summary, sorted by name as a Spanish reader sorts them.
QList<CourseStudent> CourseStudents(const ClassSummary& summary);

// The student of that name (as shown, case ignored; or without accents, when only one student
// reads so), or null.
const CourseStudent* FindCourseStudent(const QList<CourseStudent>& students, const QString& name);

// First-attempt success in percent; -1 without any question answered.
double FirstRightPercent(int firstRight, int questionsAnswered);

// The mean of the student's marks over the lessons that have one, in tenths; -1 without any.
int MeanMarkTenths(const CourseStudent& student);

// «Curso», which curso.csv writes too: a row per student (the columns of CourseColumn, then a
// mark per lesson in the lessons' order by name); the date of the last visit is a QDate cell.
SummaryTable CourseTable(const QList<CourseStudent>& students);

enum CourseColumn {
    CAlumno,
    CLecciones,
    CVisitas,
    CRespuestas,
    CPrimerIntento,
    CSeccionesCompletadas,
    CSeccionesOfrecidas,
    CUltimaVisita,
    CCuestionesRespondidas,
    CCorrectasPrimer,
    CNotaMedia
};

// A student's page as a table: a row per lesson in time order (the columns of PageColumn).
SummaryTable StudentPageTable(const CourseStudent& student);

enum PageColumn {
    PLeccion,
    PVisitas,
    PNota,
    PPrimerIntento,
    PSecciones,
    PPorRetomar,
};

// "2 de 3", or "sin clave".
QString SectionsText(int completed, int offered);
// "05/10/2026, 07/10/2026"; "fecha desconocida" for a visit of unknown date.
QString VisitDatesText(const QList<QDate>& dates);

// "3 lecciones, 5 visitas, 33,3 % correctas al primer intento, 3 de 3 secciones completadas;
// última visita el 10/11/2026."
QString StudentLine(const CourseStudent& student);

// The questions wrong at the last attempt, a line each in the lessons' order:
// "D, cuestión 1.1: ¿Quién?".
QStringList ToTakeUpAgain(const CourseStudent& student);
