#pragma once

#include <QByteArrayView>
#include <QString>

// Byte-to-text decoding for the code pages that an RTF file can name: its \ansicpg, a font's
// \fcharset or \cpg. Windows-1252 is exact and fast; other pages go through Qt's converters
// (ICU) when they are available and fall back to Windows-1252 otherwise.
namespace CodePage {

// Pseudo code pages for the symbol fonts, whose bytes are glyph numbers, not letters.
constexpr int Symbol = -1;
constexpr int Wingdings = -2;

// The code page that a font's \fcharset stands for; 0 when the charset means "the document's".
int fromCharset(int charset);

// Whether the page is one this reader decodes byte by byte itself (Windows-1252 and the symbol
// fonts): its text needs no gathering before it is decoded.
inline bool isSingleByte(int codePage) {
    return codePage == 1252 || codePage == 0 || codePage == Symbol || codePage == Wingdings;
}

// Appends the text of bytes in the code page to out. Bytes that the page cannot map become
// U+FFFD; a double-byte page decodes lead and trail bytes together, so callers pass whole runs.
void decodeAppend(int codePage, QByteArrayView bytes, QString& out);

// A character from the Private Use Area F020..F0FF that Word writes for symbol-font glyphs, as
// the Unicode character it shows; other characters are returned unchanged.
char32_t mapSymbolPrivateUse(int codePage, char32_t c);

} // namespace CodePage
