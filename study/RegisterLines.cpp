#include "study/RegisterLines.h"

#include "platform/core/Verdict.h"

#include <array>

namespace {

bool isFormulaStart(QChar c) {
    return c == u'=' || c == u'+' || c == u'-' || c == u'@';
}

// Reads the quoted field that begins at line[start]; returns the index just after its closing
// quote, or -1 when it is never closed.
qsizetype readQuoted(QStringView line, qsizetype start, QString& field) {
    qsizetype j = start + 1;
    for (;;) {
        const qsizetype quote = line.indexOf(u'"', j);
        if (quote < 0)
            return -1;
        field += line.sliced(j, quote - j);
        if (quote + 1 < line.size() && line[quote + 1] == u'"') {
            field += u'"';
            j = quote + 2;
            continue;
        }
        return quote + 1;
    }
}

int boundedNumber(QStringView text, int most, bool& ok) {
    const int value = text.toInt(&ok);
    ok = ok && value >= 0 && value <= most;
    return value;
}

} // namespace

QString RegisterField(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\r') &&
        !text.contains(u'\n'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString TypedRegisterField(const QString& text) {
    if (!text.isEmpty() && isFormulaStart(text.front()))
        return RegisterField(u'\'' + text);
    return RegisterField(text);
}

QString VisitLine(const QString& alumno, const QString& date, const QString& leccion) {
    return TypedRegisterField(alumno) + u',' + RegisterField(date) + u',' +
           TypedRegisterField(leccion);
}

QString ColumnLine() {
    return QStringLiteral("Nombre,Sección,Cuestión,Respuesta,Juicio,1er intento");
}

QString EntryLine(const QString& alumno, int section, const QString& question, int answer,
                  Verdict verdict, bool firstAttempt) {
    QString line = TypedRegisterField(alumno) + u',' + QString::number(section) + u',' +
                   RegisterField(question) + u',' + QString::number(answer) + u',' +
                   VerdictText(verdict);
    if (firstAttempt && verdict == Verdict::Correcta)
        line += QStringLiteral(",si");
    return line;
}

bool ReadEntryLine(QStringView line, EntryFields& entry) {
    std::array<QStringView, 5> fields; // right to left
    qsizetype end = line.size();
    int count = 0;
    while (count < 5 && end > 0) {
        const qsizetype comma = line.lastIndexOf(u',', end - 1);
        if (comma < 0)
            break;
        fields[count++] = line.sliced(comma + 1, end - comma - 1);
        end = comma;
    }
    const bool si = count >= 1 && fields[0] == u"si";
    const int first = si ? 1 : 0;
    if (count < first + 4)
        return false;
    const std::optional<Verdict> verdict = VerdictOfText(fields[first]);
    if (!verdict || (si && *verdict != Verdict::Correcta))
        return false;
    entry.verdict = *verdict;
    entry.firstAttempt = si;
    bool a = false, q = false, s = false;
    entry.answer = boundedNumber(fields[first + 1], kMostEntryAnswer, a);
    entry.question = boundedNumber(fields[first + 2], kMostEntryQuestion, q);
    entry.section = boundedNumber(fields[first + 3], kMostEntrySection, s);
    return a && q && s;
}

bool SplitRegisterLine(QStringView line, QStringList& fields) {
    fields.clear();
    qsizetype i = 0;
    for (;;) {
        qsizetype end;
        if (i < line.size() && line[i] == u'"') {
            QString field;
            end = readQuoted(line, i, field);
            if (end < 0 || (end < line.size() && line[end] != u',')) {
                // Not quoting after all: the line as an older version wrote it.
                fields = line.toString().split(u',');
                return false;
            }
            fields.append(field);
        } else {
            end = line.indexOf(u',', i);
            if (end < 0)
                end = line.size();
            fields.append(line.sliced(i, end - i).toString());
        }
        if (end == line.size())
            return true;
        i = end + 1;
    }
}

QString UnguardedField(const QString& field) {
    if (field.size() >= 2 && field.front() == u'\'' && isFormulaStart(field[1]))
        return field.mid(1);
    return field;
}
