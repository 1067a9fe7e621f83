#pragma once

#include "lesson/KeyPositions.h"
#include "lesson/PublishedKey.h"
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

// What the key LoadKey read says of how the lesson is taken: whether the students may listen to
// the reading, whether it is an exam and whether the exam holds its feedback until the student
// ends the lesson, and the reading it was published with. Its key bytes are empty (Clave holds
// the lines). A plain key, or none read, gives the defaults: no exam, listening allowed.
const SealedKey& KeySettings();

// Throws ToolkitError, in words for the student, when the reading at readingPath, before the
// lesson window read it (digestBefore, ReadingDigestAt) or now, is not the one the key LoadKey
// read was published with: the teacher is publishing the lesson at this moment. Clave is then
// left empty, as after a key that cannot be read.
void RequireOnePublication(const QString& readingPath, const QByteArray& digestBefore);

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
