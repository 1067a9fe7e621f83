#include "LessonPreview.h"

#include "AnswerKey.h"
#include "ToolkitError.h"

#include <utility>

namespace {

// The key queries read the lesson window's key; the preview lends them this one and gives the
// previous key back afterwards.
class KeyOnLoan {
public:
    explicit KeyOnLoan(const QStringList& lines) : saved_(std::move(Clave)) {
        Clave = std::make_unique<TextList>();
        for (const QString& line : lines)
            Clave->add(line);
        Clave->add(QStringLiteral(".s"));
        Clave->add(QStringLiteral(".c"));
    }
    ~KeyOnLoan() { Clave = std::move(saved_); }
    KeyOnLoan(const KeyOnLoan&) = delete;
    KeyOnLoan& operator=(const KeyOnLoan&) = delete;

private:
    std::unique_ptr<TextList> saved_;
};

QuestionView question(int line) {
    QuestionView view;
    view.line = line + 1;
    view.text = QuestionText(line);
    const int answers = ContarMarcas(QStringLiteral(".r"), line);
    for (int k = 1; k <= answers; ++k) {
        AnswerView answer;
        answer.line = line + 2 * k;
        try {
            answer.text = AnswerText(k, line);
            const Judgment judgment = Judge(k, line);
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

QList<SectionView> previewSections(const QStringList& key, int sections,
                                   const QMap<int, int>& headers,
                                   const QMap<int, int>& markerLines) {
    const KeyOnLoan loan(key);
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
            const int questions = ContarMarcas(QStringLiteral(".c"), header);
            for (int i = header + 1; view.questions.size() < questions; ++i) {
                if (LineMarker(Clave->at(i)) == u".c")
                    view.questions.append(question(i));
            }
        }
        views.append(view);
    }
    return views;
}
