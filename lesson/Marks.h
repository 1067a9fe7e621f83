#pragma once

#include "platform/core/Verdict.h"

#include <QString>

// The marks that begin the key's lines, as LineMarker gives them (only A to Z folded).
namespace Mark {
inline const QString Section = QStringLiteral(".s"); // a section header, and the first end sentinel
inline const QString Question = QStringLiteral(".c");
inline const QString Answer = QStringLiteral(".r");
inline const QString Right = QStringLiteral(".b"); // judgment: the answer above is correct
inline const QString Wrong = QStringLiteral(".m"); // judgment: the answer above is incorrect
// The judgment the editor writes for an answer neither right nor wrong: any mark other than the
// two above judges so.
inline const QString Pending = QStringLiteral(".p");
} // namespace Mark

// ".Sección ": with the section number after it, a section's header line in the key and its
// marker in the lesson text.
inline const QString kSectionHeaderText = QStringLiteral(".Sección ");

// ".Sección N".
QString SectionHeader(int n);

// Letters A to Z lower-cased, every other character as it is: a capital "Ó" stays "Ó".
QString FoldAscii(QString text);

// The first two characters of a key line, folded; and the rest of the line.
QString LineMarker(const QString& line);
QString LineText(const QString& line);

// A key line by its mark: a header, a question or an answer; any other line judges the answer it
// follows, with the verdict its mark gives. The text is what follows the mark.
struct KeyLine {
    enum class Kind : quint8 { Section, Question, Answer, Other };
    Kind kind = Kind::Other;
    QString text;
    Verdict verdict = Verdict::Pendiente; // what the line gives as a judgment
};
KeyLine ReadKeyLine(const QString& line);

// ".b" and ".m", the two marks that judge an answer right or wrong.
bool IsJudgmentMark(const QString& marker);

// The verdict a judgment line's marker gives: Correcta for ".b", Incorrecta for ".m", Pendiente
// for any other.
Verdict VerdictOfMarker(const QString& marker);
// The judgment mark that gives the verdict: ".b", ".m", ".p".
QString VerdictMark(Verdict verdict);
