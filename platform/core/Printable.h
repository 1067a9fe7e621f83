#pragma once

#include <QString>
#include <QStringView>

// Text that students typed, made fit to show where it could do harm as it is.

// For a terminal: every control character (below U+0020, DEL, U+0080 to U+009F) written as
// "\xHH", so that a name cannot move the cursor, retitle the window or clear the screen.
QString EscapeControls(QStringView text);

// At most most characters: a longer text cut, ending in «…». A name of thousands of characters
// has no place in a cell or a line of a report, and laying it out would take the printing long.
constexpr qsizetype kLongestShownText = 300;
QString CutToShow(const QString& text, qsizetype most = kLongestShownText);
