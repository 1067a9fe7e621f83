#pragma once

#include "KeyEdits.h"

#include <QList>
#include <QString>
#include <QStringList>

// Multiple-choice questions brought from Moodle's formats, on their way into a key.
struct ImportedAnswer {
    QString text;
    JudgmentKind judgment = JudgmentKind::Incorrecta;
    QString feedback;
};

struct ImportedQuestion {
    int section = 0; // the section its category names; 0: the section the teacher chose
    int line = 0;    // where it starts in the file, from 1
    QString text;
    QList<ImportedAnswer> answers;
};

struct ImportResult {
    QList<ImportedQuestion> questions;
    int skipped = 0; // questions of other kinds (true or false, short answer, matching...)
    QString failure; // "línea N: ..." when the file is malformed; then nothing is imported
};

// GIFT: multiple choice with right (=) and wrong (~) answers, weights (~%50%), per-answer
// feedback (#), titles (::…::), comments (//) and `$CATEGORY: Sección N`.
ImportResult readGift(const QString& text);
// Aiken: a question line, its options "A) …" or "A. …", and "ANSWER: B".
ImportResult readAiken(const QString& text);
// Aiken when the text has a line "ANSWER: X", GIFT otherwise.
ImportResult readQuestions(const QString& text);

// The key's lines with the questions added: each at the end of its section's block (the one
// given for questions without a section), a block started for a section the key lacks.
QStringList withQuestions(QStringList lines, const QList<ImportedQuestion>& questions,
                          int chosenSection);

// The whole key for Moodle: `$CATEGORY: Sección N` before each section's questions, a pending
// judgment written as a wrong answer worth 0 %.
struct GiftExport {
    QString text;
    int questions = 0;
    int pendingAnswers = 0;     // judgments neither right nor wrong, exported as worth 0 %
    int skippedQuestions = 0;   // questions without answers, or where no student finds them
    int withoutWrongAnswer = 0; // exported, but Moodle reads them as short-answer questions
};
GiftExport writeGift(const QStringList& lines);
