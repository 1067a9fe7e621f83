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

namespace {

bool isHyphen(QChar c) {
    return c == u'-' || c == u'\u2010' || c == u'\u2011';
}

bool isSign(QChar c) {
    return c == u'-' || c == u'+' || c == u'\u2212';
}

// Marks that may close a sentence or a clause after an address, which belong to the text.
bool closesAddress(QChar c) {
    return c == u'.' || c == u',' || c == u';' || c == u':' || c == u')' || c == u'»' ||
           c == u'"' || c == u'?' || c == u'!';
}

Span tokenAround(const QString& text, int position) {
    int start = position;
    while (start > 0 && !text[start - 1].isSpace())
        --start;
    int end = position;
    while (end < text.size() && !text[end].isSpace())
        ++end;
    return {start, end};
}

Span numberAround(const QString& text, Span word) {
    Span n = word;
    const auto digit = [&](int i) { return i >= 0 && i < text.size() && text[i].isDigit(); };
    const auto joins = [&](int i) { return text[i] == u'.' || text[i] == u',' || text[i] == u':'; };
    while (n.start > 0 && (digit(n.start - 1) || (joins(n.start - 1) && digit(n.start - 2))))
        --n.start;
    while (n.end < text.size() && (digit(n.end) || (joins(n.end) && digit(n.end + 1))))
        ++n.end;
    // A sign that stands before the number, not a hyphen between words or a range's dash.
    if (n.start > 0 && isSign(text[n.start - 1]) &&
        (n.start == 1 || text[n.start - 2].isSpace() || text[n.start - 2] == u'('))
        --n.start;
    int after = n.end;
    if (after < text.size() && (text[after] == u' ' || text[after] == u'\u00a0'))
        ++after;
    if (after < text.size() && text[after] == u'%')
        n.end = after + 1;
    return n;
}

Span compoundAround(const QString& text, Span word) {
    Span c = word;
    const auto letter = [&](int i) { return i >= 0 && i < text.size() && text[i].isLetter(); };
    while (c.start > 1 && isHyphen(text[c.start - 1]) && letter(c.start - 2)) {
        c.start -= 1;
        while (letter(c.start - 1))
            --c.start;
    }
    while (c.end + 1 < text.size() && isHyphen(text[c.end]) && letter(c.end + 1)) {
        c.end += 1;
        while (letter(c.end))
            ++c.end;
    }
    return c;
}

} // namespace

int AddressAt(const QString& text, int at) {
    if (at > 0 && !text[at - 1].isSpace() && text[at - 1] != u'(' && text[at - 1] != u'«' &&
        text[at - 1] != u'"')
        return 0;
    const Span token = tokenAround(text, at);
    int end = token.end;
    while (end > at && closesAddress(text[end - 1]))
        --end;
    const QStringView address = QStringView(text).mid(at, end - at);
    const bool web = address.startsWith(u"http://", Qt::CaseInsensitive) ||
                     address.startsWith(u"https://", Qt::CaseInsensitive) ||
                     address.startsWith(u"www.", Qt::CaseInsensitive);
    const qsizetype atSign = address.indexOf(u'@');
    const bool mail = atSign > 0 && address.indexOf(u'.', atSign) > atSign + 1;
    return (web && address.size() > 4) || mail ? int(address.size()) : 0;
}

Span UnitAround(const QString& text, Span word) {
    if (word.length() <= 0 || word.end > text.size())
        return word;
    const Span token = tokenAround(text, word.start);
    for (int at = token.start; at <= word.start && at < token.end; ++at) {
        if (at > token.start && text[at - 1] != u'(' && text[at - 1] != u'«' &&
            text[at - 1] != u'"')
            continue;
        const int length = AddressAt(text, at);
        if (length > 0 && at + length >= word.end)
            return {at, at + length};
    }
    if (text[word.start].isDigit() || text[word.end - 1].isDigit())
        return numberAround(text, word);
    // A percent sign reported by itself belongs to the number before it.
    if (word.length() == 1 && text[word.start] == u'%') {
        int before = word.start;
        if (before > 0 && (text[before - 1] == u' ' || text[before - 1] == u'\u00a0'))
            --before;
        if (before > 0 && text[before - 1].isDigit())
            return numberAround(text, {before - 1, before});
    }
    return compoundAround(text, word);
}
