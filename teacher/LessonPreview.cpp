#include "teacher/LessonPreview.h"

QuestionView questionView(const AnswerKeyValue::Question& question) {
    QuestionView view;
    view.line = question.line + 1;
    view.text = question.text;
    for (const AnswerKeyValue::Answer& answer : question.answers) {
        AnswerView shown;
        shown.line = answer.line + 1;
        shown.text = answer.text;
        shown.verdict = answer.verdict;
        // With no verdict, what the student's error box would say.
        shown.feedback = answer.verdict ? answer.feedback : answer.error;
        view.answers.append(shown);
    }
    return view;
}

QList<SectionView> previewSections(const AnswerKeyValue& key, int sections,
                                   const QMap<int, int>& markerLines) {
    QList<SectionView> views;
    for (int n = 1; n <= sections; ++n) {
        SectionView view;
        view.number = n;
        view.markerLine = markerLines.value(n, -1) + 1;
        if (const AnswerKeyValue::Section* section = key.section(n)) {
            view.headerLine = section->line + 1;
            for (const AnswerKeyValue::Question& question : section->questions)
                view.questions.append(questionView(question));
        }
        views.append(view);
    }
    return views;
}
