#include "platform/core/TextLines.h"

TextLines splitKeepingBreaks(const QString& text) {
    TextLines split;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        split.lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n') {
            split.breaks.append(LineBreak::CrLf);
            ++i;
        } else {
            split.breaks.append(c == u'\r' ? LineBreak::Cr : LineBreak::Lf);
        }
        start = i + 1;
    }
    if (start < n) {
        split.lines.append(text.mid(start));
        split.breaks.append(LineBreak::None);
    }
    return split;
}
