#include "platform/core/Printable.h"

QString EscapeControls(QStringView text) {
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            shown +=
                QStringLiteral("\\x") + QString::number(u, 16).toUpper().rightJustified(2, u'0');
        else
            shown += c;
    }
    return shown;
}

QString CutToShow(const QString& text, qsizetype most) {
    if (text.size() <= most)
        return text;
    qsizetype keep = most - 1;
    // Never half a surrogate pair.
    if (keep > 0 && text.at(keep - 1).isHighSurrogate())
        --keep;
    return text.left(keep) + u'…';
}
