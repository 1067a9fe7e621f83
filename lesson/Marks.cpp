#include "lesson/Marks.h"

#include "platform/core/Verdict.h"

QString SectionHeader(int n) {
    return kSectionHeaderText + QString::number(n);
}

QString FoldAscii(QString text) {
    for (QChar& c : text) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return text;
}

QString LineMarker(const QString& line) {
    return FoldAscii(line.left(2));
}

QString LineText(const QString& line) {
    return line.mid(2);
}

bool IsJudgmentMark(const QString& marker) {
    return marker == Mark::Right || marker == Mark::Wrong;
}

Verdict VerdictOfMarker(const QString& marker) {
    if (marker == Mark::Right)
        return Verdict::Correcta;
    if (marker == Mark::Wrong)
        return Verdict::Incorrecta;
    return Verdict::Pendiente;
}

QString VerdictMark(Verdict verdict) {
    switch (verdict) {
    case Verdict::Correcta:
        return Mark::Right;
    case Verdict::Incorrecta:
        return Mark::Wrong;
    case Verdict::Pendiente:
        break;
    }
    return Mark::Pending;
}

KeyLine ReadKeyLine(const QString& line) {
    const QString marker = LineMarker(line);
    KeyLine read;
    read.text = LineText(line);
    read.verdict = VerdictOfMarker(marker);
    if (marker == Mark::Section)
        read.kind = KeyLine::Kind::Section;
    else if (marker == Mark::Question)
        read.kind = KeyLine::Kind::Question;
    else if (marker == Mark::Answer)
        read.kind = KeyLine::Kind::Answer;
    return read;
}
