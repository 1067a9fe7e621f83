#include "lesson/ReadingUnits.h"

#include "lesson/SpokenWords.h"
#include "lesson/TextMarkers.h"

#include <algorithm>

namespace {

int lineStart(const QString& text, int position) {
    return position <= 0 ? 0 : text.lastIndexOf(u'\n', position - 1) + 1;
}

int lineEnd(const QString& text, int position) {
    const int end = text.indexOf(u'\n', position);
    return end < 0 ? text.size() : end;
}

bool markerAt(const QString& text, int start) {
    return IsMarkerLine(text.mid(start, lineEnd(text, start) - start));
}

// The end of the body that starts at from: the next marker line or the end of the text.
int bodyEnd(const QString& text, int from) {
    for (int start = from; start < text.size(); start = lineEnd(text, start) + 1)
        if (markerAt(text, start))
            return start;
    return text.size();
}

bool endsSentence(const QString& text, int at) {
    const QChar c = text[at];
    if (c == u'\n' || c == u'?' || c == u'!' || c == u'…')
        return true;
    if (c != u'.')
        return false;
    const bool blankAfter = at + 1 >= text.size() || text[at + 1].isSpace();
    return blankAfter && !periodEndsAbbreviation(text, at);
}

bool closesSentence(QChar c) {
    return c == u'»' || c == u'”' || c == u'"' || c == u')' || c == u'.' || c == u'?' || c == u'!';
}

} // namespace

Span SectionAround(const QString& text, int position) {
    position = std::clamp<int>(position, 0, text.size());
    for (int start = lineStart(text, position);; start = lineStart(text, start - 1)) {
        if (markerAt(text, start)) {
            const int body = std::min<int>(lineEnd(text, start) + 1, text.size());
            return {body, bodyEnd(text, body)};
        }
        if (start == 0)
            return {0, bodyEnd(text, 0)};
    }
}

Span SectionBody(const QString& text, int n) {
    const int marker = FindSectionMarker(text, n);
    if (marker < 0)
        return {};
    return SectionAround(text, lineEnd(text, marker));
}

int WordStart(const QString& text, int position) {
    position = std::clamp<int>(position, 0, text.size());
    while (position > 0 && text[position - 1].isLetterOrNumber())
        --position;
    return position;
}

Span WordOnly(const QString& text, Span span) {
    Span word = span;
    while (word.start < word.end && !text[word.start].isLetterOrNumber())
        ++word.start;
    while (word.end > word.start && !text[word.end - 1].isLetterOrNumber())
        --word.end;
    return word.length() > 0 ? word : span;
}

Span SentenceAround(const QString& text, int position) {
    position = std::clamp<int>(position, 0, text.size());
    int start = position;
    while (start > 0 && !endsSentence(text, start - 1))
        --start;
    int end = position;
    while (end < text.size() && !endsSentence(text, end))
        ++end;
    while (end < text.size() && text[end] != u'\n' && closesSentence(text[end]))
        ++end;
    while (start < end && text[start].isSpace())
        ++start;
    while (start < end && text[start] != u'¿' && text[start] != u'¡' &&
           closesSentence(text[start]) && text[start] != u'.')
        ++start;
    return {start, end};
}
