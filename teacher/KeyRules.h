#pragma once

#include "teacher/Problem.h"

#include <QList>
#include <QMap>
#include <QStringList>

// The answer key's own rules, line by line: headers, questions, answers and their judgment lines,
// as the student's program finds them by marker and by line arithmetic.
struct KeyFacts {
    // Section number -> index of its header line, the first one that the student's program finds.
    QMap<int, int> headers;
    // Answers judged «Pendiente» on purpose, with the mark the editor writes for it.
    int pending = 0;
};

// Adds the key's problems (file keyPath, lines counted from 1) to problems.
KeyFacts checkKey(const QStringList& key, const QString& keyPath, QList<Problem>& problems);
