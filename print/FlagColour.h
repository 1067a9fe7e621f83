#pragma once

#include "teacher/ItemAnalysis.h"

#include <QColor>

// The background of a question's flags, on screen and in the printed report: a key that may be
// wrong stands out from a question that is only easy, hard or unclear.
inline QColor FlagColour(const QString& flags) {
    return flags.contains(kClaveEquivocada) ? QColor(0xF4, 0xB0, 0xA8) : QColor(0xFD, 0xE8, 0xB0);
}
