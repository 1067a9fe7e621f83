#include "teacher/LessonPreview.h"

#include "lesson/KeyPositions.h"
#include "platform/core/ToolkitError.h"

namespace {

QuestionView question(const TextList& key, int line) {
    QuestionView view;
    view.line = line + 1;
    view.text = QuestionText(key, line);
    const int answers = ContarMarcas(key, Mark::Answer, line);
    for (int k = 1; k <= answers; ++k) {
        AnswerView answer;
        answer.line = int(AnswerLine(line, k)) + 1;
        try {
            answer.text = AnswerText(key, k, line);
            const Judgment judgment = Judge(key, k, line);
            answer.verdict = judgment.verdict;
            answer.feedback = judgment.feedback;
        } catch (const ToolkitError& e) {
            // What the student's error box would say.
            answer.feedback = e.message();
        }
        view.answers.append(answer);
    }
    return view;
}

} // namespace

QList<SectionView> previewSections(const QStringList& lines, int sections,
                                   const QMap<int, int>& headers,
                                   const QMap<int, int>& markerLines) {
    const TextList key = KeyWithSentinels(lines);
    QList<SectionView> views;
    for (int n = 1; n <= sections; ++n) {
        SectionView view;
        view.number = n;
        view.markerLine = markerLines.value(n, -1) + 1;
        const int header = headers.value(n, -1);
        view.headerLine = header + 1;
        if (header >= 0) {
            for (int line : QuestionLines(key, header))
                view.questions.append(question(key, line));
        }
        views.append(view);
    }
    return views;
}
