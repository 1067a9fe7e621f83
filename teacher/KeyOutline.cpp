#include "KeyOutline.h"

#include "AnswerKey.h"
#include "KeyRules.h"
#include "TextList.h"
#include "ToolkitError.h"
#include "Verdict.h"

namespace {

// The student's lesson can have at most 99 sections.
constexpr int kMostSections = 99;

const QString kSection = QStringLiteral(".s");
const QString kQuestion = QStringLiteral(".c");
const QString kAnswer = QStringLiteral(".r");

QString verdictOf(const QString& marker) {
    if (marker == u".b")
        return Verdict::Correcta;
    if (marker == u".m")
        return Verdict::Incorrecta;
    return Verdict::Pendiente;
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

// The key's lines walked as the student's program's queries walk them (questions up to the next
// section marker, answers counted up to the next question, answer k and its judgment at lines
// Q + 2k - 1 and Q + 2k), on a list of its own: the program's one key, Clave, may be in use on
// another thread.
KeyOutline LoadKeyOutline(const QString& keyPath) {
    KeyOutline outline;
    TextList key;
    try {
        key.loadFromFile(keyPath, TextList::Encoding::Teacher);
    } catch (const ToolkitError&) {
        return outline;
    }
    outline.loaded = true;
    // The same two end sentinels that the student's program appends.
    const QStringList lines = key.lines() + QStringList{kSection, kQuestion};
    QStringList markers;
    for (const QString& line : lines)
        markers.append(LineMarker(line));
    const qsizetype end = lines.size();
    for (qsizetype header = 0; header < end; ++header) {
        const int number = headerNumber(lines[header]);
        // The first header of a number is the one the student's program finds.
        if (number < 1 || number > kMostSections || outline.sections.contains(number))
            continue;
        QList<KeyQuestion>& questions = outline.sections[number];
        for (qsizetype q = header + 1; q < end && markers[q] != kSection; ++q) {
            if (markers[q] != kQuestion)
                continue;
            KeyQuestion question{LineText(lines[q]), {}};
            qsizetype count = 0;
            for (qsizetype r = q + 1; r < end && markers[r] != kQuestion; ++r)
                count += markers[r] == kAnswer ? 1 : 0;
            for (qsizetype k = 1; k <= count && q + 2 * k < end; ++k)
                question.answers.append(
                    {LineText(lines[q + 2 * k - 1]), verdictOf(markers[q + 2 * k])});
            questions.append(question);
        }
    }
    return outline;
}
