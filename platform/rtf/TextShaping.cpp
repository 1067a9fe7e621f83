#include "platform/rtf/TextShaping.h"

#include <QFont>
#include <QTextCharFormat>

#include <algorithm>

namespace {

// Characters that show as one glyph each, the same in any context: precomposed Latin, Greek and
// Cyrillic letters, digits, spaces, punctuation and common symbols. Left out: combining marks
// (U+0300..U+036F, U+0483..U+0489), the soft hyphen, joiners, direction marks and embeddings
// (U+200C..U+200F, U+202A..U+202E, U+2060..U+206F), surrogates and every other script.
bool simple(char16_t c) {
    if (c < 0x0300)
        return c != 0x00AD;
    return (c >= 0x0370 && c <= 0x0482) || (c >= 0x048A && c <= 0x052F) ||
           (c >= 0x1E00 && c <= 0x1FFF) || (c >= 0x2000 && c <= 0x200B) ||
           (c >= 0x2010 && c <= 0x2029) || (c >= 0x202F && c <= 0x205F) ||
           (c >= 0x20A0 && c <= 0x20CF) || (c >= 0x2100 && c <= 0x27BF) || c == 0xFFFC ||
           c == 0xFFFD;
}

} // namespace

namespace TextShaping {

bool needed(QStringView text) {
    // Most text lies below U+0300. A pass that the compiler can vectorize looks for anything
    // else in a stretch, and only a stretch that has some gets the exact test.
    constexpr qsizetype kStretch = 64;
    const char16_t* p = text.utf16();
    for (qsizetype from = 0; from < text.size(); from += kStretch) {
        const qsizetype to = std::min(text.size(), from + kStretch);
        int unusual = 0;
        for (qsizetype i = from; i < to; ++i)
            unusual |= int(p[i] >= 0x0300) | int(p[i] == 0x00AD);
        if (!unusual)
            continue;
        for (qsizetype i = from; i < to; ++i)
            if (!simple(p[i]))
                return true;
    }
    return false;
}

void allowSimple(QTextCharFormat& format) {
    format.setFontStyleStrategy(QFont::PreferNoShaping);
}

} // namespace TextShaping
