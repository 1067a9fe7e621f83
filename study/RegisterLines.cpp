#include "RegisterLines.h"

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
