#pragma once

#include "platform/core/Verdict.h"

#include "lesson/Marks.h"
#include "platform/core/TextList.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// Where things stand in an answer key: the section headers, the questions of a section, the
// answers of a question and their judgments, all by marker and by line arithmetic. The key given
// must end in the two sentinels (AddSentinels); nothing here keeps state, so the teacher's
// program reads keys of its own with them, on any thread.

struct Judgment {
    Verdict verdict = Verdict::Pendiente;
    QString feedback;
};

// Appends the two end sentinels to a key's lines.
void AddSentinels(TextList& key);
// The key's lines with the sentinels.
TextList KeyWithSentinels(const QStringList& lines);

// Index of the first key line equal to header regardless of letter case, or -1.
int FindSection(const TextList& key, const QString& header);

// The section number n whose header SectionHeader(n) the line is, as FindSection compares them;
// 0 when the line is no header that a section number finds.
int SectionHeaderNumber(const QString& line);
// Section number -> index of the first line that is its header, the one FindSection finds.
QMap<int, int> SectionHeaderLines(const QStringList& lines);

// ".c": questions of the section whose header is at `from`; ".r": answers of the question whose
// line is at `from`.
int ContarMarcas(const TextList& key, const QString& marker, int from);

// Index of the first question line after `from`, with no stop: past the sentinels the list
// refuses the index.
int NextQuestionLine(const TextList& key, int from);
// Index of the line of question n (n >= 1) of the section whose header is at sectionLine.
int BuscarLineaDePregunta(const TextList& key, int n, int sectionLine);
// The lines of questions 1 ... ContarMarcas(".c") of the section, as BuscarLineaDePregunta finds
// each of them.
QList<int> QuestionLines(const TextList& key, int sectionLine);

// Lines of answer k (k >= 1) of the question at questionLine, and of its judgment.
qsizetype AnswerLine(int questionLine, int k);
qsizetype JudgmentLine(int questionLine, int k);

QString QuestionText(const TextList& key, int questionLine);
QString AnswerText(const TextList& key, int k, int questionLine);
// Answer k (0 = none of the above) to the question whose line is at questionLine.
Judgment Judge(const TextList& key, int k, int questionLine);
