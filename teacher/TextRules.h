#pragma once

#include "teacher/LessonText.h"
#include "teacher/Problem.h"

#include <QList>
#include <QMap>

// The lesson text's own rules: the markers as the student's program counts them (the last marker
// line) and finds them (the first ".Sección N" anywhere in the text).
struct TextFacts {
    // The number of sections the student's program lists; -1 when it cannot count them.
    int sections = -1;
    // Section number -> display line (from 0) where the student's program finds its marker.
    QMap<int, int> markerLines;
    // Display line (from 0) of the last marker line, the one that gives the count; -1 if none.
    int lastMarker = -1;
};

TextFacts checkText(const LessonText& text, const QString& textPath, QList<Problem>& problems);
