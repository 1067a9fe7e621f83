#pragma once

#include "teacher/editor/KeyEdits.h"

#include <QList>
#include <QString>
#include <QStringList>

// Multiple-choice questions brought from Moodle's formats, on their way into a key.
struct ImportedAnswer {
    QString text;
    Verdict judgment = Verdict::Incorrecta;
    QString feedback;
};

struct ImportedQuestion {
    int section = 0; // the section its category names; 0: the section the teacher chose
    int line = 0;    // where it starts in the file, from 1
    QString text;
    QList<ImportedAnswer> answers;
};

// A question of a kind a key cannot hold (short answer, matching, numeric, essay, description).
struct LeftOutQuestion {
    int line = 0;  // where it starts in the file, from 1
    QString title; // its title, or the start of its text
    QString kind;  // "respuesta corta", "emparejamiento"...
};

struct ImportResult {
    QList<ImportedQuestion> questions;
    QList<LeftOutQuestion> leftOut;
    QStringList notices; // "línea N: ..." for what was read otherwise than written
    QString failure;     // "línea N: ..." when the file is malformed; then nothing is imported
};

// GIFT: multiple choice with right (=) and wrong (~) answers, credits (~%50%: positive is
// right), per-answer and general (####) feedback, true or false as «Verdadero» and «Falso»,
// titles (::…::), comments (//), [html] and [markdown] text made plain, and
// `$CATEGORY: Sección N`.
ImportResult readGift(const QString& text);
// Aiken: a question line, its options "A) …" or "A. …", and "ANSWER: B".
ImportResult readAiken(const QString& text);
// Aiken when the text has a line "ANSWER: X", GIFT otherwise.
ImportResult readQuestions(const QString& text);

// What an import leaves out or reads otherwise, one line each, for the teacher: the questions
// left out with their title and line (at most `most` of them, then how many more; all when
// most < 0), the categories that name no section.
QStringList importNotes(const ImportResult& result, int most = -1);

// The key's lines with the questions added: each at the end of its section's block (the one
// given for questions without a section), a block started for a section the key lacks.
QStringList withQuestions(QStringList lines, const QList<ImportedQuestion>& questions,
                          int chosenSection);

// The whole key for Moodle: `$CATEGORY: Sección N` before each section's questions, a pending
// judgment written as a wrong answer worth 0 %, several right answers sharing the credit.
struct GiftExport {
    QString text;
    int questions = 0;
    int pendingAnswers = 0;     // judgments neither right nor wrong, exported as worth 0 %
    int skippedQuestions = 0;   // questions without answers, or where no student finds them
    int withoutWrongAnswer = 0; // exported, but Moodle reads them as short-answer questions
};
GiftExport writeGift(const QStringList& lines);

// What an export did, one sentence each, for the teacher: the questions written to path, the
// pending answers made wrong, the questions left out, those Moodle reads otherwise.
QStringList exportNotes(const GiftExport& gift, const QString& path);
