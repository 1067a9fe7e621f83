#include "AnswerKey.h"

#include "Verdict.h"

std::unique_ptr<TextList> Clave;

namespace {

const QString kSectionMarker = QStringLiteral(".s");
const QString kQuestionMarker = QStringLiteral(".c");
const QString kAnswerMarker = QStringLiteral(".r");

// The queries run only while the lesson window holds a key; before the key exists they behave as
// for an empty one, so a slip in the window's order gives the list's error, not a crash.
const TextList& key() {
    static const TextList empty;
    return Clave ? *Clave : empty;
}

} // namespace

QString LineMarker(const QString& line) {
    QString marker = line.left(2);
    // Only A to Z fold: a teacher's "Ó" is not an "ó" here.
    for (QChar& c : marker) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return marker;
}

QString LineText(const QString& line) {
    return line.mid(2);
}

void LoadKey(const QString& path) {
    if (!Clave)
        Clave = std::make_unique<TextList>();
    Clave->clear();
    Clave->loadFromFile(path, TextList::Encoding::Teacher);
    AddSentinels(*Clave);
}

void AddSentinels(TextList& key) {
    // They end the question count of the last section (".s") and the answer count of its last
    // question (".c") inside the list.
    key.add(kSectionMarker);
    key.add(kQuestionMarker);
}

int FindSection(const QString& header) {
    return static_cast<int>(key().indexOf(header));
}

int ContarMarcas(const QString& marker, int from) {
    return ContarMarcas(key(), marker, from);
}

int ContarMarcas(const TextList& key, const QString& marker, int from) {
    const QString& stop = marker == kAnswerMarker ? kQuestionMarker : kSectionMarker;
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

int BuscarLineaDePregunta(int n, int sectionLine) {
    // No stop marker: the window bounds n by the section's question count. Past the sentinels
    // the list refuses the index, so a bad n ends in the list's error.
    qsizetype i = sectionLine;
    int found = 0;
    do {
        ++i;
        if (LineMarker(key().at(i)) == kQuestionMarker)
            ++found;
    } while (found != n);
    return static_cast<int>(i);
}

QString QuestionText(int questionLine) {
    return QuestionText(key(), questionLine);
}

QString QuestionText(const TextList& key, int questionLine) {
    return LineText(key.at(questionLine));
}

QString AnswerText(int k, int questionLine) {
    return AnswerText(key(), k, questionLine);
}

QString AnswerText(const TextList& key, int k, int questionLine) {
    // A question line of -1 (no question found) must not reach the key's first lines by
    // arithmetic.
    key.at(questionLine);
    return LineText(key.at(qsizetype(questionLine) + 2 * qsizetype(k) - 1));
}

Judgment Judge(int k, int questionLine) {
    return Judge(key(), k, questionLine);
}

Judgment Judge(const TextList& key, int k, int questionLine) {
    if (k == 0)
        return {Verdict::Pendiente, QStringLiteral("NINGUNA DE LAS RESPUESTAS")};
    key.at(questionLine);
    const QString& line = key.at(qsizetype(questionLine) + 2 * qsizetype(k));
    const QString marker = LineMarker(line);
    QString verdict = Verdict::Pendiente;
    if (marker == QLatin1String(".b"))
        verdict = Verdict::Correcta;
    else if (marker == QLatin1String(".m"))
        verdict = Verdict::Incorrecta;
    return {verdict, LineText(line)};
}
