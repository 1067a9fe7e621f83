#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "platform/core/Verdict.h"

// One register file of a lesson folder, read for the teacher: its visits and their accepted
// answers, and the lines it could not read.

struct RegisterEntry {
    int section = 0;
    int question = 0;
    int answer = 0;
    Verdict verdict = Verdict::Pendiente;
    bool firstAttempt = false; // the line ends in ",si"
};

struct RegisterVisit {
    QString name;     // as written in the visit line, quoting and apostrophe undone
    QString dateText; // the date field as written
    QString lesson;   // the lesson the visit line names
    QDate date;       // the visit line's date; the file name's when that one cannot be read
    // Other dates the visit line may mean, when the register's date order is uncertain.
    QList<QDate> otherDates;
    int line = 0; // 1-based line of the visit line
    QList<RegisterEntry> entries;
};

// A line that was skipped (damaged) or read in the best way it allowed (ambiguous), or a whole
// file that could not be read (line 0); as a notice, something the teacher should check, such as
// a date that could be read more than one way.
enum class NoticeKind {
    Other,
    MissingVisit, // a sealed copy's visit that the register lacks: it can be put back
    InvalidCopy,  // a file among the visits' copies that is no sealed copy
};

struct RegisterProblem {
    QString file;
    int line = 0;
    QString message;
    NoticeKind kind = NoticeKind::Other;
};

// "FILE:LINE: message", or "FILE: message" for a whole file.
QString ProblemLine(const RegisterProblem& problem);

struct RegisterFile {
    QString path;
    QString lesson; // the file name without its date digits and "_reg.csv"
    QDate fileDate; // the day the date digits say, once the date order is decided
    bool read = false;
    QList<RegisterVisit> visits;
    QList<RegisterProblem> problems; // lines or the file that could not be read
    QList<RegisterProblem> notices;  // readings to check: a date order that stays uncertain
};

// "_reg.csv" files of the folder (and of its subfolders, when asked), sorted by path; those that
// cannot be read are listed too, so that reading them reports them.
QStringList FindRegisters(const QString& folder, bool subfolders);

// The lesson name and the date in a register's file name, read without its visits as a Spanish
// computer writes it: "El_volcan07122026_reg.csv" gives "El_volcan" and 7 December 2026.
void SplitRegisterName(const QString& fileName, QString& lesson, QDate& date);

// A day/month/year date as a Spanish system writes it ("7/12/2026", "07/12/26", with "/", "-"
// or "."), or a year-month-day date; an invalid date otherwise.
QDate ParseVisitDate(QStringView text);

// Decides the order of the register's dates (RegisterDates.h) from its name, its visit lines and
// the day of its last change, and dates its visits and lesson so.
void DateVisits(RegisterFile& file, const QDate& modifiedDay);

// Reads the whole register under its lock, or nothing of it when the lock cannot be had within
// lockTimeoutMs (a student's program is writing it) or the file cannot be opened.
RegisterFile ReadRegister(const QString& path, int lockTimeoutMs = 1000);

// The same reading on bytes already in memory (Windows-1252 or UTF-8, CR LF or LF, an end-of-file
// mark). Dates are read day first; DateVisits decides them.
void ParseRegister(QByteArrayView bytes, RegisterFile& file);
