#include "teacher/KeyOutline.h"

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
    try {
        outline.key = ReadAnswerKey(ReadKeyFileLines(KeyFileToRead(keyPath)));
    } catch (const ToolkitError&) {
        return outline;
    }
    outline.loaded = true;
    for (const AnswerKeyValue::Section& section : outline.key.sections) {
        if (section.number > kMostSections)
            break;
        QList<QuestionView>& questions = outline.sections[section.number];
        for (const AnswerKeyValue::Question& question : section.questions)
            questions.append(questionView(question));
    }
    return outline;
}
