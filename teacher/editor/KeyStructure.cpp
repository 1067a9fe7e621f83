#include "teacher/editor/KeyStructure.h"

#include "lesson/AnswerKey.h"
#include "lesson/KeyPositions.h"

#include <QSet>

namespace {

bool isStructural(const QString& marker) {
    return marker == Mark::Section || marker == Mark::Question || marker == Mark::Answer;
}

} // namespace

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
        const QString marker = LineMarker(lines[i]);
        if (marker == Mark::Section) {
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
        } else if (marker == Mark::Question) {
            if (!section) {
                key.sections.append(KeySection{});
                section = &key.sections.last();
            }
            section->questions.append(KeyQuestion{i, {}});
            question = &section->questions.last();
        } else if (marker == Mark::Answer && question) {
            KeyAnswer answer{i, -1};
            // The line after an answer is its judgment unless it starts something else.
            if (i + 1 < n && !isStructural(LineMarker(lines[i + 1])))
                answer.judgment = ++i;
            question->answers.append(answer);
        }
    }
    if (section)
        section->end = n;
    return key;
}
