#pragma once

#include "platform/core/TextLines.h"
#include "platform/core/Verdict.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// An answer key read once into a value: the sections the student's program finds, their questions
// and each question's answers with the verdict and feedback the student is given. It is read by
// the student's program's own key queries (KeyPositions.h), so every view built on it (the
// check's preview, the summary's names, the worksheet, GIFT, the web page's data) shows what the
// student meets, odd keys included: an answer found by line arithmetic on a line that is no
// answer, a judgment that is the next answer, a section header written in capitals.
//
// Lines are indices from 0 into the key's lines, each with its own line break. An answer or
// judgment of a short key can lie at or past the key's line count: in the two end marks the
// student's program adds to the key (".s", ".c"), or beyond, where it stops with an error.
// Safe on any thread: no state is kept.
struct AnswerKeyValue {
    struct Answer {
        int line = 0;
        LineBreak lineBreak = LineBreak::CrLf;
        QString text;
        // None when the student's program cannot read the answer or its judgment and stops with
        // an error box instead; error then holds the box's message.
        std::optional<Verdict> verdict;
        QString feedback;
        QString error;
        int judgmentLine = 0;
        LineBreak judgmentBreak = LineBreak::CrLf;
    };

    struct Question {
        int line = 0;
        LineBreak lineBreak = LineBreak::CrLf;
        QString text;
        QList<Answer> answers; // answer k (from 1) at index k - 1
    };

    struct Section {
        int number = 0; // SectionHeader(number) is the first line that equals it, any letter case
        int line = 0;
        LineBreak lineBreak = LineBreak::CrLf;
        QList<Question> questions; // question n (from 1) at index n - 1
    };

    QList<Section> sections; // by number, only the ones the student's program finds
    // Lines marked as questions that no section leads the student to: before the first header,
    // or under a header the student's program never finds.
    QList<int> unreachedQuestions;

    // None when the key has no such section or question (numbers from 1).
    const Section* section(int number) const;
    const Question* question(int section, int number) const;
    const Answer* answer(int section, int number, int answer) const;
};

AnswerKeyValue ReadAnswerKey(const TextLines& key);
// Lines read without their breaks: each counts as ended by CR LF.
AnswerKeyValue ReadAnswerKey(const QStringList& lines);
