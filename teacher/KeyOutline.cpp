#include "KeyOutline.h"

#include "AnswerKey.h"
#include "ToolkitError.h"

#include <mutex>

namespace {

// The student's lesson can have at most 99 sections.
constexpr int kMostSections = 99;

KeyQuestion readQuestion(int number, int sectionLine) {
    KeyQuestion question;
    const int line = BuscarLineaDePregunta(number, sectionLine);
    question.text = QuestionText(line);
    const int answers = ContarMarcas(QStringLiteral(".r"), line);
    // A key that breaks its layout runs past its end: the answers read so far stand.
    try {
        for (int k = 1; k <= answers; ++k)
            question.answers.append({AnswerText(k, line), Judge(k, line).verdict});
    } catch (const ToolkitError&) {
    }
    return question;
}

} // namespace

const KeyQuestion* KeyOutline::question(int section, int number) const {
    const auto it = sections.constFind(section);
    if (it == sections.cend() || number < 1 || number > it->size())
        return nullptr;
    return &(*it)[number - 1];
}

QString KeyOutline::answerText(int section, int number, int answer) const {
    const KeyQuestion* q = question(section, number);
    if (!q || answer < 1 || answer > q->answers.size())
        return {};
    return q->answers[answer - 1].text;
}

KeyOutline LoadKeyOutline(const QString& keyPath) {
    // The queries of the student's program work on its one key, Clave: borrow it, one reader at
    // a time, and give it back.
    static std::mutex keyInUse;
    const std::lock_guard guard(keyInUse);
    std::unique_ptr<TextList> saved = std::move(Clave);
    KeyOutline outline;
    try {
        LoadKey(keyPath);
        outline.loaded = true;
        for (int n = 1; n <= kMostSections; ++n) {
            const int header = FindSection(QStringLiteral(".Sección %1").arg(n));
            if (header < 0)
                continue;
            QList<KeyQuestion>& questions = outline.sections[n];
            const int count = ContarMarcas(QStringLiteral(".c"), header);
            for (int q = 1; q <= count; ++q)
                questions.append(readQuestion(q, header));
        }
    } catch (const ToolkitError&) {
    }
    Clave = std::move(saved);
    return outline;
}
