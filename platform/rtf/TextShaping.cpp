#include "TextShaping.h"

#include <QFont>
#include <QTextCharFormat>

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
    for (const QChar c : text)
        if (!simple(c.unicode()))
            return true;
    return false;
}

void allowSimple(QTextCharFormat& format) {
    format.setFontStyleStrategy(QFont::PreferNoShaping);
}

} // namespace TextShaping
