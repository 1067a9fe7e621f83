#pragma once

#include <QString>

#include <functional>

// Section markers in the lesson text as the viewer shows it. A marker line begins with the
// marker word, ".sección" with A to Z in any case; its number is read from the three characters
// after the word, a blank and up to two digits.

// ".sección", the header text without its blank, folded.
const QString& MarkerWord();

bool IsMarkerLine(const QString& line);

// The three characters after the marker word, which give the number.
QString MarkerNumberText(const QString& markerLine);

// The number a marker line gives; throws ToolkitError("'%s' is not a valid integer value").
int MarkerNumber(const QString& markerLine);

// Index of the last marker line among lineCount lines read by line(i), walking back from the end
// and stopping at the first; -1 when there is none.
int LastMarkerLine(int lineCount, const std::function<QString(int)>& line);

// Position of the first ".Sección N" in text, without regard to case and not whole-word, as the
// viewer finds it; -1 when there is none.
int FindSectionMarker(const QString& text, int n);
