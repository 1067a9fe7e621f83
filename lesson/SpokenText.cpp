#include "lesson/SpokenText.h"

#include "lesson/ReadingUnits.h"
#include "lesson/SpokenWords.h"

#include <algorithm>

namespace {

// Quotation marks the voice would either say or take for a pause in mid-sentence.
bool isQuote(QChar c) {
    return c == u'«' || c == u'»' || c == u'“' || c == u'”' || c == u'"';
}

// An address as it is read out: without its «https://» or «www.», its marks said by name.
QString addressWords(QStringView address) {
    for (const char16_t* prefix : {u"https://", u"http://", u"www."})
        if (address.startsWith(prefix, Qt::CaseInsensitive))
            address = address.mid(QStringView(prefix).size());
    if (address.startsWith(u"www.", Qt::CaseInsensitive))
        address = address.mid(4);
    while (address.endsWith(u'/'))
        address.chop(1);
    QString words = QStringLiteral(" ");
    for (const QChar c : address) {
        switch (c.unicode()) {
        case u'.':
            words += QStringLiteral(" punto ");
            break;
        case u'/':
            words += QStringLiteral(" barra ");
            break;
        case u'@':
            words += QStringLiteral(" arroba ");
            break;
        case u'-':
            words += QStringLiteral(" guion ");
            break;
        case u'_':
            words += QStringLiteral(" guion bajo ");
            break;
        default:
            words += c.isLetterOrNumber() ? c : u' ';
        }
    }
    return words + u' ';
}

} // namespace

SpokenText::SpokenText(const QString& shown, int start, int end, bool sayAddresses) {
    end = std::min<int>(end, shown.size());
    text_.reserve(end - start);
    origin_.reserve(end - start);
    int at = std::max(0, start);
    while (at < end) {
        QString words;
        int matched = AddressAt(shown, at);
        if (matched > 0)
            words = sayAddresses ? addressWords(QStringView(shown).mid(at, matched))
                                 : QStringLiteral(" ");
        if (matched == 0)
            matched = matchDate(shown, at, words);
        if (matched == 0)
            matched = matchOrdinal(shown, at, words);
        if (matched == 0)
            matched = matchAbbreviation(shown, at, words);
        if (matched > 0 && at + matched <= end) {
            replace(words, {at, at + matched});
            at += matched;
        } else if (isQuote(shown[at])) {
            replace(QStringLiteral(" "), {at, at + 1});
            ++at;
        } else {
            copy(shown, at);
            ++at;
        }
    }
}

void SpokenText::copy(const QString& shown, int at) {
    text_ += shown[at];
    origin_.push_back({at, at + 1});
}

void SpokenText::replace(const QString& words, Span from) {
    text_ += words;
    origin_.insert(origin_.end(), words.size(), from);
}

Span SpokenText::shownSpan(int position, int length) const {
    const int size = static_cast<int>(origin_.size());
    const int first = std::clamp(position, 0, size);
    const int last = std::clamp(position + std::max(length, 1), 0, size);
    if (first >= last) {
        const int end = origin_.empty() ? 0 : origin_.back().end;
        return {end, end};
    }
    Span span = origin_[first];
    for (int i = first + 1; i < last; ++i) {
        span.start = std::min(span.start, origin_[i].start);
        span.end = std::max(span.end, origin_[i].end);
    }
    return span;
}
