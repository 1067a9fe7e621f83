#pragma once

#include "lesson/Marks.h"

#include "teacher/editor/KeyStructure.h"

#include <QString>
#include <QStringList>

#include <optional>

// One change of the key's lines: `removed` lines from `start` replaced by `inserted`. Every edit
// of the form is one such change, so that one undo step takes it back whole.
struct LineEdit {
    int start = 0;
    int removed = 0;
    QStringList inserted;
    QString label; // what the undo menu calls it
};

// The edits the form makes, on the lines and their structure as they are now. Each keeps the
// marks as the teacher wrote them (".C" stays ".C") and changes only the lines it must.
namespace KeyEdits {

// The text after the mark of a question, answer or judgment line.
LineEdit setText(const QStringList& lines, int line, const QString& text);
LineEdit setJudgment(const QStringList& lines, const KeyAnswer& answer, Verdict kind);
LineEdit setFeedback(const QStringList& lines, const KeyAnswer& answer, const QString& text);

// A new empty question after question `after` of the section (-1: at the section's start,
// or after its last question when the section has questions and after is its count).
LineEdit addQuestion(const KeySection& section, int after);
// A new answer, judged incorrect, after answer `after` of the question (its count: at the end).
LineEdit addAnswer(const KeyQuestion& question, int after);
LineEdit removeQuestion(const KeySection& section, int index);
LineEdit removeAnswer(const KeyQuestion& question, int index);
// Swaps the question (answer) with its neighbour above (delta -1) or below (+1); nothing when
// there is none.
std::optional<LineEdit> moveQuestion(const QStringList& lines, const KeySection& section, int index,
                                     int delta);
std::optional<LineEdit> moveAnswer(const QStringList& lines, const KeyQuestion& question, int index,
                                   int delta);
// A header ".Sección N" placed before the first block with a higher number, or at the end.
LineEdit addSection(const QStringList& lines, const KeyStructure& key, int number);

// The change that turns `before` into `after`: the lines between their common start and end.
std::optional<LineEdit> difference(const QStringList& before, const QStringList& after);

} // namespace KeyEdits

// Applies the edit to lines.
void applyEdit(QStringList& lines, const LineEdit& edit);
