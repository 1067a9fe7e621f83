#include "LessonPreview.h"

#include "AnswerKey.h"
#include "ToolkitError.h"

namespace {

QuestionView question(const TextList& key, int line) {
    QuestionView view;
    view.line = line + 1;
    view.text = QuestionText(key, line);
    const int answers = ContarMarcas(key, QStringLiteral(".r"), line);
    for (int k = 1; k <= answers; ++k) {
        AnswerView answer;
        answer.line = line + 2 * k;
        try {
            answer.text = AnswerText(key, k, line);
            const Judgment judgment = Judge(key, k, line);
            answer.verdict = judgment.verdict;
            answer.feedback = judgment.feedback;
        } catch (const ToolkitError& e) {
            // What the student's error box would say.
            answer.verdict = QStringLiteral("Error");
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
    TextList key;
    for (const QString& line : lines)
        key.add(line);
    AddSentinels(key);
    QList<SectionView> views;
    for (int n = 1; n <= sections; ++n) {
        SectionView view;
        view.number = n;
        view.markerLine = markerLines.value(n, -1) + 1;
        const int header = headers.value(n, -1);
        view.headerLine = header + 1;
        if (header >= 0) {
            // Question n is the n-th question line after the header, as BuscarLineaDePregunta
            // finds it; one walk finds them all, where asking for each would walk n times.
            const int questions = ContarMarcas(key, QStringLiteral(".c"), header);
            for (int i = header + 1; view.questions.size() < questions; ++i) {
                if (LineMarker(key.at(i)) == u".c")
                    view.questions.append(question(key, i));
            }
        }
        views.append(view);
    }
    return views;
}
