#include "teacher/MarkerSlips.h"

#include "lesson/TextMarkers.h"

#include <QRegularExpression>

namespace {

struct Loose {
    QRegularExpression pattern;
    QChar accented; // the marker word's accented letter, matched also without its accent
};

// "^(blanks)" + the marker word, its accented letter as "(ó|o)", + "(blanks)(digits)(rest)$".
Loose loose() {
    const QString& word = MarkerWord();
    qsizetype at = 0;
    while (at < word.size() && word.at(at).decompositionTag() != QChar::Canonical)
        ++at;
    QString pattern = QStringLiteral("^(\\s*)") + QRegularExpression::escape(word.left(at));
    QChar accented;
    if (at < word.size()) {
        accented = word.at(at);
        pattern += QStringLiteral("(") + accented + u'|' + accented.decomposition().at(0) + u')' +
                   QRegularExpression::escape(word.mid(at + 1));
    } else {
        pattern += QStringLiteral("()");
    }
    pattern += QStringLiteral("(\\s*)(\\d+)(.*)$");
    return {QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption), accented};
}

} // namespace

MarkerSlip markerSlip(const QString& line, bool leadingBlanks) {
    static const Loose marker = loose();
    const QRegularExpressionMatch m = marker.pattern.match(line);
    MarkerSlip slip;
    if (!m.hasMatch() || (!leadingBlanks && !m.captured(1).isEmpty()))
        return slip;
    slip.matches = true;
    slip.accentMissing = !marker.accented.isNull() &&
                         m.captured(2).compare(QString(marker.accented), Qt::CaseInsensitive) != 0;
    slip.blanks = m.captured(3);
    slip.number = m.captured(4);
    slip.trailing = m.captured(5);
    return slip;
}
