#include "teacher/editor/KeyEdits.h"

#include "lesson/AnswerKey.h"
#include "teacher/editor/KeyText.h"

void applyEdit(QStringList& lines, const LineEdit& edit) {
    lines.remove(edit.start, edit.removed);
    for (qsizetype i = 0; i < edit.inserted.size(); ++i)
        lines.insert(edit.start + i, edit.inserted[i]);
}

namespace KeyEdits {

namespace {

LineEdit replaceOne(int line, const QString& text, const QString& label) {
    return {line, 1, {text}, label};
}

// The lines [first, end) of two neighbouring ranges swapped, with whatever stands between them
// kept in the middle.
LineEdit swapRanges(const QStringList& lines, int aStart, int aEnd, int bStart, int bEnd,
                    const QString& label) {
    QStringList swapped = lines.mid(bStart, bEnd - bStart);
    swapped += lines.mid(aEnd, bStart - aEnd);
    swapped += lines.mid(aStart, aEnd - aStart);
    return {aStart, bEnd - aStart, swapped, label};
}

} // namespace

LineEdit setText(const QStringList& lines, int line, const QString& text) {
    return replaceOne(line, lines.at(line).left(2) + singleLine(text), QStringLiteral("escribir"));
}

LineEdit setJudgment(const QStringList& lines, const KeyAnswer& answer, Verdict kind) {
    const QString label = QStringLiteral("cambiar el juicio");
    if (answer.judgment < 0)
        return {answer.line + 1, 0, {VerdictMark(kind)}, label};
    return replaceOne(answer.judgment,
                      VerdictMark(kind) + ReadKeyLine(lines.at(answer.judgment)).text, label);
}

LineEdit setFeedback(const QStringList& lines, const KeyAnswer& answer, const QString& text) {
    if (answer.judgment < 0)
        return {answer.line + 1,
                0,
                {VerdictMark(Verdict::Pendiente) + singleLine(text)},
                QStringLiteral("escribir")};
    QString mark = lines.at(answer.judgment).left(2);
    // An empty judgment line has no mark to keep; it reads as pending, and stays so.
    if (mark.size() < 2)
        mark = VerdictMark(Verdict::Pendiente);
    return replaceOne(answer.judgment, mark + singleLine(text), QStringLiteral("escribir"));
}

LineEdit addQuestion(const KeySection& section, int after) {
    int at = section.header + 1;
    if (after >= 0 && !section.questions.isEmpty())
        at = section.questions.at(std::min<int>(after, section.questions.size() - 1)).end();
    if (section.header < 0 && section.questions.isEmpty())
        at = 0;
    return {at, 0, {Mark::Question}, QStringLiteral("añadir una pregunta")};
}

LineEdit addAnswer(const KeyQuestion& question, int after) {
    int at = question.line + 1;
    if (after > 0 && !question.answers.isEmpty())
        at = question.answers.at(std::min<int>(after, question.answers.size()) - 1).end();
    return {at,
            0,
            {Mark::Answer, VerdictMark(Verdict::Incorrecta)},
            QStringLiteral("añadir una respuesta")};
}

LineEdit removeQuestion(const KeySection& section, int index) {
    const KeyQuestion& q = section.questions.at(index);
    return {q.line, q.end() - q.line, {}, QStringLiteral("quitar la pregunta")};
}

LineEdit removeAnswer(const KeyQuestion& question, int index) {
    const KeyAnswer& a = question.answers.at(index);
    return {a.line, a.end() - a.line, {}, QStringLiteral("quitar la respuesta")};
}

std::optional<LineEdit> moveQuestion(const QStringList& lines, const KeySection& section, int index,
                                     int delta) {
    const int other = index + delta;
    if (other < 0 || other >= section.questions.size())
        return std::nullopt;
    const KeyQuestion& a = section.questions.at(std::min(index, other));
    const KeyQuestion& b = section.questions.at(std::max(index, other));
    return swapRanges(lines, a.line, a.end(), b.line, b.end(), QStringLiteral("mover la pregunta"));
}

std::optional<LineEdit> moveAnswer(const QStringList& lines, const KeyQuestion& question, int index,
                                   int delta) {
    const int other = index + delta;
    if (other < 0 || other >= question.answers.size())
        return std::nullopt;
    const KeyAnswer& a = question.answers.at(std::min(index, other));
    const KeyAnswer& b = question.answers.at(std::max(index, other));
    return swapRanges(lines, a.line, a.end(), b.line, b.end(),
                      QStringLiteral("mover la respuesta"));
}

LineEdit addSection(const QStringList& lines, const KeyStructure& key, int number) {
    int at = int(lines.size());
    for (const KeySection& section : key.sections) {
        if (section.header >= 0 && section.number > number) {
            at = section.header;
            break;
        }
    }
    return {at, 0, {SectionHeader(number)}, QStringLiteral("añadir la sección %1").arg(number)};
}

std::optional<LineEdit> difference(const QStringList& before, const QStringList& after) {
    const int a = int(before.size()), b = int(after.size());
    int head = 0;
    while (head < a && head < b && before[head] == after[head])
        ++head;
    if (head == a && head == b)
        return std::nullopt;
    int tail = 0;
    while (tail < a - head && tail < b - head && before[a - 1 - tail] == after[b - 1 - tail])
        ++tail;
    return LineEdit{head, a - head - tail, after.mid(head, b - head - tail),
                    QStringLiteral("escribir")};
}

} // namespace KeyEdits
