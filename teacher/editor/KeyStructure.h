#pragma once

#include "platform/core/Verdict.h"

#include <QList>
#include <QStringList>

// The form's view of an answer key: its sections, their questions and each question's answers,
// found in the lines by their marks as the student's program finds them. Every number is a line
// index from 0. Lines that are none of these (blank lines, unknown marks) belong to nothing and
// stay where they are.
struct KeyAnswer {
    int line = 0;
    int judgment = -1; // the judgment line after the answer; -1 when the answer has none
    QString text;
    Verdict verdict = Verdict::Pendiente; // with its judgment's feedback, when it has one
    QString feedback;
    int end() const { return (judgment >= 0 ? judgment : line) + 1; }
};

struct KeyQuestion {
    int line = 0;
    QString text;
    QList<KeyAnswer> answers;
    // One past its last answer's judgment.
    int end() const { return answers.isEmpty() ? line + 1 : answers.last().end(); }
};

struct KeySection {
    int header = -1; // -1 for the questions before the first header
    // The section number the student's program finds this header by; 0 when it never finds it
    // (a fault in the header, or a number that an earlier header already has).
    int number = 0;
    int end = 0; // one past its last line: the next header, or the end of the key
    QList<KeyQuestion> questions;
};

struct KeyStructure {
    QList<KeySection> sections;

    // Index of the section whose block holds the line; -1 when none does.
    int sectionOf(int line) const;
    // Index of the key section the student's program finds for section number; -1 if none.
    int sectionNumbered(int number) const;
};

KeyStructure readKeyStructure(const QStringList& lines);
