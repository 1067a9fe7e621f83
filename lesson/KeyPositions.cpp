#include "lesson/KeyPositions.h"

#include "platform/core/Verdict.h"

#include <algorithm>

void AddSentinels(TextList& key) {
    // They end the question count of the last section (".s") and the answer count of its last
    // question (".c") inside the list.
    key.add(Mark::Section);
    key.add(Mark::Question);
}

TextList KeyWithSentinels(const QStringList& lines) {
    TextList key;
    for (const QString& line : lines)
        key.add(line);
    AddSentinels(key);
    return key;
}

int FindSection(const TextList& key, const QString& header) {
    return static_cast<int>(key.indexOf(header));
}

int SectionHeaderNumber(const QString& line) {
    const qsizetype wordLength = kSectionHeaderText.size();
    // Every key line passes here: the digits are looked at in place, without a copy.
    const QStringView digits = QStringView(line).mid(std::min(wordLength, line.size()));
    // SectionHeader writes the number with no sign and no leading zero.
    if (digits.isEmpty() || digits.front() == u'0' || digits.size() > 9)
        return 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return 0;
    }
    const int n = digits.toInt();
    // The whole-line comparison of FindSection (TextList::indexOf).
    return line.compare(SectionHeader(n), Qt::CaseInsensitive) == 0 ? n : 0;
}

QMap<int, int> SectionHeaderLines(const QStringList& lines) {
    QMap<int, int> headers;
    for (int i = 0; i < lines.size(); ++i) {
        const int n = SectionHeaderNumber(lines[i]);
        if (n > 0 && !headers.contains(n))
            headers.insert(n, i);
    }
    return headers;
}

int ContarMarcas(const TextList& key, const QString& marker, int from) {
    const QString& stop = marker == Mark::Answer ? Mark::Question : Mark::Section;
    int count = 0;
    qsizetype i = from;
    for (;;) {
        ++i;
        const QString m = LineMarker(key.at(i));
        if (m == marker)
            ++count;
        if (m == stop)
            break;
    }
    return count;
}

int NextQuestionLine(const TextList& key, int from) {
    qsizetype i = from;
    do
        ++i;
    while (LineMarker(key.at(i)) != Mark::Question);
    return static_cast<int>(i);
}

int BuscarLineaDePregunta(const TextList& key, int n, int sectionLine) {
    // No stop marker: the window bounds n by the section's question count. Past the sentinels
    // the list refuses the index, so a bad n ends in the list's error.
    int i = sectionLine;
    int found = 0;
    do {
        i = NextQuestionLine(key, i);
        ++found;
    } while (found != n);
    return i;
}

QList<int> QuestionLines(const TextList& key, int sectionLine) {
    const int questions = ContarMarcas(key, Mark::Question, sectionLine);
    QList<int> lines;
    // One walk finds them all, where asking BuscarLineaDePregunta for each would walk n times.
    for (int i = sectionLine; lines.size() < questions;) {
        i = NextQuestionLine(key, i);
        lines.append(i);
    }
    return lines;
}

qsizetype AnswerLine(int questionLine, int k) {
    return qsizetype(questionLine) + 2 * qsizetype(k) - 1;
}

qsizetype JudgmentLine(int questionLine, int k) {
    return qsizetype(questionLine) + 2 * qsizetype(k);
}

QString QuestionText(const TextList& key, int questionLine) {
    return LineText(key.at(questionLine));
}

QString AnswerText(const TextList& key, int k, int questionLine) {
    // A question line of -1 (no question found) must not reach the key's first lines by
    // arithmetic.
    key.at(questionLine);
    return LineText(key.at(AnswerLine(questionLine, k)));
}

Judgment Judge(const TextList& key, int k, int questionLine) {
    if (k == 0)
        return {Verdict::Pendiente, QStringLiteral("NINGUNA DE LAS RESPUESTAS")};
    key.at(questionLine);
    const QString& line = key.at(JudgmentLine(questionLine, k));
    return {VerdictOfMarker(LineMarker(line)), LineText(line)};
}
