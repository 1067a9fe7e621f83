#pragma once

#include "teacher/Problem.h"

#include <QColor>

// The colour a problem's severity is written in, in every list of problems the teacher reads.
inline QColor severityColour(Problem::Severity severity) {
    switch (severity) {
    case Problem::Severity::Error:
        return QColor(0xb0, 0x00, 0x00);
    case Problem::Severity::Aviso:
        return QColor(0xa0, 0x50, 0x00);
    case Problem::Severity::Nota:
        break;
    }
    return QColor(0x30, 0x50, 0x80);
}
