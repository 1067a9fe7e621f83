#include "teacher/KeyOutline.h"

#include "lesson/KeyPositions.h"
#include "lesson/PublishedKey.h"
#include "platform/core/ToolkitError.h"
#include "teacher/LessonPreview.h"

namespace {

// The student's lesson can have at most 99 sections.
constexpr int kMostSections = 99;

} // namespace

const QuestionView* KeyOutline::question(int section, int number) const {
    const auto it = sections.constFind(section);
    if (it == sections.cend() || number < 1 || number > it->size())
        return nullptr;
    return &(*it)[number - 1];
}

QString KeyOutline::answerText(int section, int number, int answer) const {
    const QuestionView* q = question(section, number);
    if (!q || answer < 1 || answer > q->answers.size())
        return {};
    return q->answers[answer - 1].text;
}

KeyOutline LoadKeyOutline(const QString& keyPath) {
    KeyOutline outline;
    QStringList lines;
    try {
        lines = ReadKeyFileLines(KeyFileToRead(keyPath));
    } catch (const ToolkitError&) {
        return outline;
    }
    outline.loaded = true;
    const QMap<int, int> headers = SectionHeaderLines(lines);
    for (SectionView& section : previewSections(lines, kMostSections, headers, {})) {
        if (headers.contains(section.number))
            outline.sections.insert(section.number, std::move(section.questions));
    }
    return outline;
}
