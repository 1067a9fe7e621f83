#include "lesson/AnswerKeyValue.h"

#include "lesson/KeyPositions.h"
#include "platform/core/ToolkitError.h"

#include <QSet>

namespace {

AnswerKeyValue::Answer readAnswer(const TextList& list, const TextLines& key, int question, int k) {
    AnswerKeyValue::Answer answer;
    answer.line = int(AnswerLine(question, k));
    answer.lineBreak = key.breakOf(answer.line);
    answer.judgmentLine = int(JudgmentLine(question, k));
    answer.judgmentBreak = key.breakOf(answer.judgmentLine);
    // The same calls, in the same order, as the lesson window makes: the text is shown before the
    // judgment is asked for, so an answer can have its text and an error.
    try {
        answer.text = AnswerText(list, k, question);
        const Judgment judgment = Judge(list, k, question);
        answer.verdict = judgment.verdict;
        answer.feedback = judgment.feedback;
    } catch (const ToolkitError& e) {
        answer.error = e.message();
    }
    return answer;
}

} // namespace

const AnswerKeyValue::Section* AnswerKeyValue::section(int number) const {
    for (const Section& s : sections) {
        if (s.number == number)
            return &s;
    }
    return nullptr;
}

const AnswerKeyValue::Question* AnswerKeyValue::question(int sectionNumber, int number) const {
    const Section* s = section(sectionNumber);
    if (!s || number < 1 || number > s->questions.size())
        return nullptr;
    return &s->questions[number - 1];
}

const AnswerKeyValue::Answer* AnswerKeyValue::answer(int sectionNumber, int number,
                                                     int answerNumber) const {
    const Question* q = question(sectionNumber, number);
    if (!q || answerNumber < 1 || answerNumber > q->answers.size())
        return nullptr;
    return &q->answers[answerNumber - 1];
}

AnswerKeyValue ReadAnswerKey(const TextLines& key) {
    const TextList list = KeyWithSentinels(key.lines);
    AnswerKeyValue value;
    const QMap<int, int> headers = SectionHeaderLines(key.lines);
    for (auto it = headers.cbegin(); it != headers.cend(); ++it) {
        AnswerKeyValue::Section section;
        section.number = it.key();
        section.line = it.value();
        section.lineBreak = key.breakOf(section.line);
        for (const int line : QuestionLines(list, section.line)) {
            AnswerKeyValue::Question question;
            question.line = line;
            question.lineBreak = key.breakOf(line);
            question.text = QuestionText(list, line);
            const int answers = ContarMarcas(list, Mark::Answer, line);
            for (int k = 1; k <= answers; ++k)
                question.answers.append(readAnswer(list, key, line, k));
            section.questions.append(std::move(question));
        }
        value.sections.append(std::move(section));
    }
    QSet<int> reached;
    for (const AnswerKeyValue::Section& section : value.sections) {
        for (const AnswerKeyValue::Question& question : section.questions)
            reached.insert(question.line);
    }
    for (int i = 0; i < key.lines.size(); ++i) {
        if (LineMarker(key.lines[i]) == Mark::Question && !reached.contains(i))
            value.unreachedQuestions.append(i);
    }
    return value;
}

AnswerKeyValue ReadAnswerKey(const QStringList& lines) {
    return ReadAnswerKey(TextLines{lines, {}});
}
