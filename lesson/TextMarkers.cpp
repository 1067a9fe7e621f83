#include "lesson/TextMarkers.h"

#include "lesson/IntegerText.h"
#include "lesson/Marks.h"

const QString& MarkerWord() {
    static const QString word = FoldAscii(kSectionHeaderText.trimmed());
    return word;
}

bool IsMarkerLine(const QString& line) {
    // Only A to Z fold, so ".SECCIÓN" with a capital Ó is not a marker line.
    return line.size() >= MarkerWord().size() &&
           FoldAscii(line.left(MarkerWord().size())) == MarkerWord();
}

QString MarkerNumberText(const QString& markerLine) {
    return markerLine.mid(MarkerWord().size(), 3);
}

int MarkerNumber(const QString& markerLine) {
    return TextToInteger(MarkerNumberText(markerLine));
}

int LastMarkerLine(int lineCount, const std::function<QString(int)>& line) {
    for (int i = lineCount - 1; i >= 0; --i) {
        if (IsMarkerLine(line(i)))
            return i;
    }
    return -1;
}

int FindSectionMarker(const QString& text, int n) {
    return int(text.indexOf(SectionHeader(n), 0, Qt::CaseInsensitive));
}
