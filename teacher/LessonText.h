#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The lesson text as the lesson window's viewer shows it when the lesson opens: its display
// lines, word-wrapped at the viewer's first width, where each line starts in the plain text, and
// the plain text itself (paragraphs ended by line feeds). The rules of the check read only this.
struct LessonText {
    QStringList lines;
    QList<int> lineStarts; // one per display line, ascending
    QString text;
    // The file is no RTF: the lesson window shows its bytes as plain text (an ODT or a Word file
    // renamed ".rtf" shows as garbage).
    bool notRtf = false;

    // Index of the display line holding the character at position; -1 before the first line.
    int lineOf(int position) const;
};
