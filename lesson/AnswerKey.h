#pragma once

#include "lesson/KeyPositions.h"
#include "platform/core/TextList.h"

#include <QString>

#include <memory>

// The answer key of the open lesson, one text line per list entry, with the two end sentinels
// ".s" and ".c" after the file's lines. It lives from the opening of the lesson window to its
// closing.
extern std::unique_ptr<TextList> Clave;

// Replaces Clave's lines with the key file's and appends the sentinels. A key whose exact name is
// missing is read by a name that differs only in letter case, as Windows finds it; with no plain
// key at all, the published key's lines (PublishedKey.h). Throws ToolkitError("Cannot open file
// %s") with the path given when there is none, or the published key's refusal.
void LoadKey(const QString& path);

// The queries on Clave, over the key positions of KeyPositions.h.

// Index of the first key line equal to header regardless of letter case, or -1.
int FindSection(const QString& header);

// ".c": questions of the section whose header is at `from`; ".r": answers of the question whose
// line is at `from`.
int ContarMarcas(const QString& marker, int from);

// Index of the line of question n (n >= 1) of the section whose header is at sectionLine.
int BuscarLineaDePregunta(int n, int sectionLine);

QString QuestionText(int questionLine);
QString AnswerText(int k, int questionLine);

// Answer k (0 = none of the above) to the question whose line is at questionLine.
Judgment Judge(int k, int questionLine);
