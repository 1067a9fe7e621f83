#pragma once

#include "platform/core/Verdict.h"
#include "teacher/LessonText.h"
#include "teacher/Problem.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

// What the student will meet in one answer, one question and one section. Lines count from 1;
// 0 means none.
struct AnswerView {
    int line = 0; // the answer's key line
    QString text;
    std::optional<Verdict> verdict; // none when the student's program stops on an error
    QString feedback;
};

struct QuestionView {
    int line = 0;
    QString text;
    QList<AnswerView> answers;
};

struct SectionView {
    int number = 0;
    int markerLine = 0; // display line of the text where the student's program finds the marker
    int headerLine = 0; // key line of the header the student's program finds
    QList<QuestionView> questions;
};

// The check of one lesson: its problems, worst places first within each file, and the lesson as
// the student will meet it.
struct LessonReport {
    QString textPath;
    QString keyPath;
    bool unreadable = false; // the text or the key could not be read
    int pendingAnswers = 0;  // answers judged «Pendiente» on purpose: counted, not problems
    QList<Problem> problems;
    QList<SectionView> sections;
    LessonText text;
    QStringList key;

    int count(Problem::Severity severity) const;
};

// Checks a lesson already read: the text as the viewer shows it and the key's lines.
LessonReport checkLesson(const QString& textPath, const LessonText& text, const QString& keyPath,
                         const QStringList& key);

// Reads the text as the lesson window shows it; throws ToolkitError as the viewer does.
using TextReader = std::function<LessonText(const QString& path)>;

// Checks the lesson whose text is chosenPath, its files named as the student's program names
// them, the key read as it reads it. A file that cannot be read is an error of the report.
LessonReport checkLessonFiles(const QString& chosenPath, const TextReader& readText);
