#include "teacher/editor/Questions.h"

#include "lesson/AnswerKey.h"
#include "teacher/editor/KeyText.h"

#include <QMap>

QStringList withQuestions(QStringList lines, const QList<ImportedQuestion>& questions,
                          int chosenSection) {
    // The questions of each section, in the file's order.
    QMap<int, QStringList> blocks;
    QList<int> order;
    for (const ImportedQuestion& q : questions) {
        const int section = q.section > 0 ? q.section : std::max(chosenSection, 1);
        if (!blocks.contains(section))
            order.append(section);
        QStringList& block = blocks[section];
        block.append(Mark::Question + singleLine(q.text));
        for (const ImportedAnswer& a : q.answers) {
            block.append(Mark::Answer + singleLine(a.text));
            block.append(VerdictMark(a.judgment) + singleLine(a.feedback));
        }
    }
    for (int number : order) {
        KeyStructure key = readKeyStructure(lines);
        if (key.sectionNumbered(number) < 0) {
            applyEdit(lines, KeyEdits::addSection(lines, key, number));
            key = readKeyStructure(lines);
        }
        const KeySection& section = key.sections[key.sectionNumbered(number)];
        const int at =
            section.questions.isEmpty() ? section.header + 1 : section.questions.last().end();
        applyEdit(lines, {at, 0, blocks[number], {}});
    }
    return lines;
}

QStringList importNotes(const ImportResult& result, int most) {
    QStringList notes;
    const qsizetype n = result.leftOut.size();
    if (n > 0)
        notes.append(n == 1 ? QStringLiteral("1 pregunta de otro tipo no se importa:")
                            : QStringLiteral("%1 preguntas de otros tipos no se importan:").arg(n));
    const qsizetype named = most < 0 ? n : std::min<qsizetype>(n, most);
    for (qsizetype i = 0; i < named; ++i)
        notes.append(QStringLiteral("línea %1: «%2» (%3)")
                         .arg(result.leftOut[i].line)
                         .arg(result.leftOut[i].title, result.leftOut[i].kind));
    if (named < n)
        notes.append(QStringLiteral("y %1 más").arg(n - named));
    return notes + result.notices;
}
