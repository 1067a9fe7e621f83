#include "teacher/editor/KeyStructure.h"

#include "lesson/KeyPositions.h"
#include "lesson/Marks.h"

#include <QSet>

int KeyStructure::sectionOf(int line) const {
    for (int i = 0; i < sections.size(); ++i) {
        const int start = sections[i].header >= 0 ? sections[i].header : 0;
        if (line >= start && line < sections[i].end)
            return i;
    }
    return -1;
}

int KeyStructure::sectionNumbered(int number) const {
    for (int i = 0; i < sections.size(); ++i) {
        if (sections[i].number == number && number > 0)
            return i;
    }
    return -1;
}

KeyStructure readKeyStructure(const QStringList& lines) {
    KeyStructure key;
    QSet<int> numbers;
    const int n = int(lines.size());
    KeySection* section = nullptr;
    KeyQuestion* question = nullptr;
    for (int i = 0; i < n; ++i) {
        const KeyLine line = ReadKeyLine(lines[i]);
        if (line.kind == KeyLine::Kind::Section) {
            if (section)
                section->end = i;
            KeySection next;
            next.header = i;
            const int number = SectionHeaderNumber(lines[i]);
            // Only the first header of a number is ever found.
            if (number > 0 && !numbers.contains(number)) {
                numbers.insert(number);
                next.number = number;
            }
            key.sections.append(next);
            section = &key.sections.last();
            question = nullptr;
        } else if (line.kind == KeyLine::Kind::Question) {
            if (!section) {
                key.sections.append(KeySection{});
                section = &key.sections.last();
            }
            section->questions.append(KeyQuestion{i, line.text, {}});
            question = &section->questions.last();
        } else if (line.kind == KeyLine::Kind::Answer && question) {
            KeyAnswer answer{i, -1, line.text, Verdict::Pendiente, {}};
            // The line after an answer is its judgment unless it starts something else.
            if (i + 1 < n) {
                const KeyLine next = ReadKeyLine(lines[i + 1]);
                if (next.kind == KeyLine::Kind::Other) {
                    answer.judgment = ++i;
                    answer.verdict = next.verdict;
                    answer.feedback = next.text;
                }
            }
            question->answers.append(answer);
        }
    }
    if (section)
        section->end = n;
    return key;
}
