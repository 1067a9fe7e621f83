#pragma once

#include <QString>

// A line that looks like a section header or marker, ".Sección N", written with a slip: the
// marker word with or without its accent, any blanks, a number and anything after it.
struct MarkerSlip {
    bool matches = false; // the line looks like a marker at all
    bool accentMissing = false;
    QString blanks;   // between the word and the number
    QString number;   // its digits as written
    QString trailing; // what follows the digits
    int value() const { return number.left(9).toInt(); }
};

// The line, blanks before it allowed when leadingBlanks.
MarkerSlip markerSlip(const QString& line, bool leadingBlanks);
