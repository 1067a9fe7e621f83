#pragma once

#include "platform/core/Verdict.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

struct KeyOutline;
struct LessonSummary;

// What the class's first attempts say of each question: how easy it was, whether it separated
// the students who understood the reading from those who did not, and which answers the
// strongest and the weakest chose first.

// A student's first attempt at a question: the first answer judged «Correcta» or «Incorrecta»
// (a «Pendiente» is no attempt), and whether it was right; marks, facility, the answers' table and
// every export count this one.
struct FirstAttempt {
    int section = 0;
    int question = 0;
    int answer = 0;
    bool right = false;
    bool judged = false; // false: every answer it took was «Pendiente», and answer is the first
};

// How many students chose an answer first: all of them, and those of the upper and of the lower
// third of the class by mark.
struct AnswerChoice {
    int answer = 0;
    QString text;                   // from the key; empty without it
    std::optional<Verdict> verdict; // the key's judgment; none without it
    int first = 0;
    int upper = 0;
    int lower = 0;
    bool unchosen = false; // a wrong answer no one chose first, in a class large enough to say so
};

// The flags' words, as the teacher reads them.
inline const QString kMuyFacil = QStringLiteral("muy fácil");
inline const QString kMuyDificil = QStringLiteral("muy difícil");
inline const QString kNoSepara = QStringLiteral("no separa a quienes entendieron");
inline const QString kClaveEquivocada = QStringLiteral("¿clave equivocada?");

// With fewer students who answered a question, its figures are shown without flags.
constexpr int kFewestForFlags = 8;
// «no separa a quienes entendieron»: a discrimination under this, as shown (two decimals).
constexpr double kLeastDiscrimination = 0.2;

// Fills the lesson's marks and their statistics, and each question's discrimination, first
// choices and flags, from its students' first attempts and the key's right answers. Without a
// key, or with no question that has a right answer in it, there are no marks and no flags.
void AnalyseLesson(LessonSummary& lesson, const KeyOutline& key);

// The upper and the lower third: ⌈n/3⌉ students each, by mark from the highest, ties in the
// order given (the class's order by name). Per student, the bits of the thirds it is in: a
// class of one student has it in both.
constexpr int kUpperThird = 1;
constexpr int kLowerThird = 2;
QList<int> Thirds(const QList<int>& marks);

// "muy fácil; ¿clave equivocada?"
QString FlagsText(const QStringList& flags);

// "Notas de 9 alumnos (sobre 10): media 5,0; mediana 5,0; desviación típica 2,4.", or why there
// are none.
QString MarksLine(const LessonSummary& lesson);

// Under this many students, the figures come with a caution in words.
constexpr int kFewestForFirmFigures = 20;

// "Fiabilidad de la prueba (alfa) 0,53, sobre 7 cuestiones que varían. Error típico de una
// nota: 1,2 puntos.", or why there is none; empty without marks.
QString TestLine(const LessonSummary& lesson);

// The caution for a class under kFewestForFirmFigures students; empty otherwise.
QString CautionLine(const LessonSummary& lesson);

// Which students each question's figures count, for under the table.
QString GroupLine();

// The flagged questions, a line each: "1.2: no separa a quienes entendieron; ¿clave
// equivocada?".
QStringList FlagLines(const LessonSummary& lesson);
