#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Text split into lines with each line's own break kept, so that a file read and written back
// keeps the breaks it had. Lines end at CR LF, a lone CR or a lone LF; a final line break adds
// no empty line, and a last line with no break has LineBreak::None.
enum class LineBreak : quint8 { CrLf, Lf, Cr, None };

struct TextLines {
    QStringList lines;
    QList<LineBreak> breaks; // one per line, or none at all when the lines came without them

    // The break of line i; CrLf, what the programs write, when the lines came without breaks.
    LineBreak breakOf(qsizetype i) const { return breaks.value(i, LineBreak::CrLf); }
};

// No NUL handling: the caller cuts the text at a NUL first when it must.
TextLines splitKeepingBreaks(const QString& text);
