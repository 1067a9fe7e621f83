#pragma once

#include "teacher/ItemAnalysis.h"
#include "teacher/LessonMarks.h"
#include "teacher/RegisterReader.h"
#include "teacher/StudentNames.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>

#include <functional>

// The class's figures for the teacher, per lesson: one row per question that anyone answered and
// one row per student. The window, the exports and the command line all show these rows, so
// they never disagree.

struct QuestionRow {
    int section = 0;
    int question = 0;
    QString text;     // from the key; empty without one
    int students = 0; // those who made an attempt at it; for an opinion question, who answered it
    int firstRight = 0;
    double firstRightPercent = 0;
    bool opinion = false; // every answer in the key is «Pendiente»: no mark, no review, no flags
    int mostWrongAnswer = -1; // -1: nobody chose a wrong answer
    int mostWrongTimes = 0;
    QString mostWrongText;
    int accepted = 0;
    QMap<int, int> answerTimes; // accepted answers by answer number, 0 = none of them
    bool review = false;
    // The item analysis (ItemAnalysis.h): a right answer in the key makes the question gradable.
    bool gradable = false;
    std::optional<double> discrimination; // none when it cannot be computed
    std::optional<double> indexD;         // right share in the upper third less in the lower
    std::optional<double> alphaWithout;   // the test's alpha with this question left out
    double chance = 0;                    // one over the key's answers; 0 without them
    int upperStudents = 0;                // of the students, those in the upper third
    int lowerStudents = 0;                // and in the lower third
    QList<AnswerChoice> choices;          // the key's answers, then others chosen, by number
    QStringList flags;
};

// A question whose last accepted answer was wrong, with its text from the key (empty without one).
struct WrongQuestion {
    int section = 0;
    int question = 0;
    QString text;
};

struct StudentRow {
    QString name;
    bool named = true; // false: a visit without a name, shown as kSinNombre
    int visits = 0;
    int accepted = 0;
    int correct = 0;
    int incorrect = 0;
    int pending = 0;
    int questionsAnswered = 0;
    int firstRight = 0;                // questions right at the first attempt
    int sectionsCompleted = -1;        // -1 without the key
    QList<int> sectionsPending;        // with the key: its sections not completed, in order
    QList<QDate> visitDates;           // in time order; an invalid date for a visit of unknown date
    QList<WrongQuestion> wrongAtLast;  // in the order of sections and questions
    QList<FirstAttempt> firstAttempts; // one per question answered
    int mark = -1;                     // out of ten, in tenths; -1 without a gradable question
};

struct LessonSummary {
    QString name;
    bool hasKey = false;
    int maxAnswer = 0; // the largest answer number chosen
    QList<QuestionRow> questions;
    QList<StudentRow> students;
    QString folder;              // where its first register is, and its key is looked for
    int gradable = 0;            // the key's questions with a right answer
    MarkStats marks;             // over the students, when there are marks
    int thirdSize = 0;           // the students in each of the upper and lower thirds
    int varying = 0;             // the gradable questions that some got right and others not
    std::optional<double> alpha; // the test's reliability (KR-20) over those questions
    std::optional<double> standardError; // of a mark, on the 0-10 scale
};

struct ClassSummary {
    QList<LessonSummary> lessons;
    QList<RegisterProblem> problems; // lines or registers that could not be read
    // Readings to check: registers whose date order stays uncertain, and visits that the date
    // filter leaves out only because of such a reading or an unreadable date.
    QList<RegisterProblem> notices;
    int registersFound = 0;
    int registersRead = 0;
    int visitsLeftOut = 0; // visits dated surely outside the chosen dates
    // The first and the last day of the visits summarized (invalid when none has a date).
    QDate firstDay, lastDay;
};

// Everything «Avisos» lists: the problems, then the notices.
QList<RegisterProblem> AllWarnings(const ClassSummary& summary);

// The shown name of a visit without a name: every such visit is a student of its own.
inline const QString kSinNombre = QStringLiteral("(sin nombre)");

// A question "few got right at the first attempt": under this share.
constexpr double kReviewBelowPercent = 50.0;

// Visits dated outside [from, to] are left out (an invalid date leaves that side open; a visit
// of unknown date is kept only when both are open); each one left out is counted, or named in a
// notice when another reading of its date, or its unreadable date, may be why. Each lesson's key
// is looked for beside its first register.
// Names are joined into students by names.
ClassSummary Summarize(const QList<RegisterFile>& files, QDate from = {}, QDate to = {},
                       const StudentNames& names = {});

// Reads the registers in parallel, then summarizes them. progress, when given, hears from the
// reading threads how many registers of how many are read.
using SummaryProgress = std::function<void(int done, int total)>;
ClassSummary SummarizeFolder(const QString& folder, bool subfolders, QDate from = {}, QDate to = {},
                             const SummaryProgress& progress = {}, const StudentNames& names = {});

// The spread of the class: how many students got 0-9 %, 10-19 %, ... 90-100 % of the questions
// they answered right at the first attempt (ten bands; students with no answer are left out).
QList<int> SpreadBands(const LessonSummary& lesson);

// "1, 3, 4"
QString NumberList(const QList<int>& numbers);
