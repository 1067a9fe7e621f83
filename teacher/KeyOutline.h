#pragma once

#include "lesson/AnswerKeyValue.h"
#include "teacher/LessonCheck.h"

#include <QList>
#include <QMap>
#include <QString>

// What a lesson's answer key says, for naming the figures of the summary: the texts of the
// questions and answers and the number of questions per section, found exactly as the student's
// program finds them.
struct KeyOutline {
    bool loaded = false;
    AnswerKeyValue key;
    QMap<int, QList<QuestionView>> sections; // the sections 1 to 99 the key has, by number

    const QuestionView* question(int section, int number) const;
    QString answerText(int section, int number, int answer) const;
};

// Not loaded when the file cannot be opened. With no plain key, the published key is read, as
// the student's program reads it. Safe on any thread.
KeyOutline LoadKeyOutline(const QString& keyPath);
