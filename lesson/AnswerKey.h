#pragma once

#include "TextList.h"

#include <QString>

#include <memory>

// The answer key of the open lesson, one text line per list entry, with the two end sentinels
// ".s" and ".c" after the file's lines. It lives from the opening of the lesson window to its
// closing.
extern std::unique_ptr<TextList> Clave;

struct Judgment {
    QString verdict; // Verdict::Correcta, Verdict::Incorrecta or Verdict::Pendiente
    QString feedback;
};

// The first two characters of a key line, with only A to Z lower-cased; and the rest of the line.
QString LineMarker(const QString& line);
QString LineText(const QString& line);

// Replaces Clave's lines with the key file's and appends the sentinels. Throws
// ToolkitError("Cannot open file %s").
void LoadKey(const QString& path);
// Appends the two end sentinels to a key's lines.
void AddSentinels(TextList& key);

// The queries below read Clave; each has a twin that reads the key given, which must end in the
// sentinels (the teacher's program reads keys of its own with them, on any thread).

// Index of the first key line equal to header regardless of letter case, or -1.
int FindSection(const QString& header);

// ".c": questions of the section whose header is at `from`; ".r": answers of the question whose
// line is at `from`.
int ContarMarcas(const QString& marker, int from);
int ContarMarcas(const TextList& key, const QString& marker, int from);

// Index of the line of question n (n >= 1) of the section whose header is at sectionLine.
int BuscarLineaDePregunta(int n, int sectionLine);

QString QuestionText(int questionLine);
QString QuestionText(const TextList& key, int questionLine);
QString AnswerText(int k, int questionLine);
QString AnswerText(const TextList& key, int k, int questionLine);

// Answer k (0 = none of the above) to the question whose line is at questionLine.
Judgment Judge(int k, int questionLine);
Judgment Judge(const TextList& key, int k, int questionLine);
