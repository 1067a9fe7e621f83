#pragma once

#include <QDate>
#include <QList>
#include <QString>

// The dates of a register written on any computer. The student's program writes the system's
// short date in each visit line and names the file with that date's digits, so a register may
// say day/month, month/day or year first, with two or four digits for the year: "07/12/26" is
// 7 December on a Spanish computer and 12 July on an English one. The teacher's program tries
// every order and keeps those on which the file name, the visit lines and the file's last change
// agree (a register holds one day's visits, so it was last written on the day its name says).

enum class DateOrder { DayMonth, MonthDay, YearFirst };

// What a visit line gives: its date as written and the lesson it names.
struct VisitDateText {
    QString date;
    QString lesson;
};

struct RegisterDating {
    QString lesson;          // the file name without its date digits and suffix
    QDate fileDate;          // the day the name says; invalid when it cannot be told
    QList<QDate> visitDates; // per visit; invalid for a line whose date cannot be read
    // Per visit: the other dates its line may mean, when the order stays uncertain.
    QList<QList<QDate>> otherDates;
    DateOrder order = DateOrder::DayMonth;
    // Empty when the dates are certain; otherwise a Spanish sentence for the teacher: what the
    // register's date may be, which reading is taken, and why it could not be decided.
    QString doubt;
};

// Decides the lesson and the dates of the register named fileName. visits are its visit lines in
// order; modifiedDay is the local day of the file's last change (invalid when unknown).
RegisterDating DateRegister(const QString& fileName, const QList<VisitDateText>& visits,
                            const QDate& modifiedDay);

// The lesson and the day-first date of a register's stem that nothing else explains: trailing
// digits read as ddmmyyyy or ddmmyy; otherwise the digits, and the separators between them that
// other short dates leave ("206-2-07"), are taken off.
QString GuessRegisterLesson(const QString& stem, QDate& dayFirstDate);

// The reading of a date text in one order; invalid when the text does not read so. Two-digit
// years fall in the century that puts them no later than a year after referenceYear.
QDate ReadDate(QStringView text, DateOrder order, int referenceYear);

// "día/mes/año", "mes/día/año", "año/mes/día".
QString OrderName(DateOrder order);

// "07/12/2026": how the teacher's program writes a date for the teacher.
QString TeacherDate(const QDate& date);
