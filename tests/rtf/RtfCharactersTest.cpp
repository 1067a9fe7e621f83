// Characters: code pages, \u and its fallback, named characters, and the section marker written
// in every way a word processor may write it.

#include "tests/rtf/RtfTestSupport.h"

#include <gtest/gtest.h>

namespace {

const QString kMarker = QStringLiteral(".Secci\u00F3n 12");

QByteArray doc(const QByteArray& body, const QByteArray& head = "\\ansi\\ansicpg1252") {
    return "{\\rtf1" + head + "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}" +
           "{\\f1\\fnil\\fcharset2 Symbol;}{\\f2\\fnil\\fcharset204 Arial Cyr;}" +
           "{\\f3\\fnil\\fcharset238 Arial CE;}{\\f4\\fnil\\fcharset2 Wingdings;}}\\f0 " + body +
           "\\par}";
}

TEST(RtfCharacters, SectionMarkerComesOutTheSameWhicheverWayItWasWritten) {
    const QList<QByteArray> ways = {
        ".Secci\\'f3n 12",                   // Word, WordPad
        ".Secci\\'F3n 12",                   // capital hex digits
        ".Secci\\u243\\'f3n 12",             // LibreOffice: \u with its fallback
        ".Secci\\uc0\\u243 n 12",            // no fallback
        ".Secci{\\uc2\\u243\\'3f\\'3f}n 12", // two fallback bytes
        ".Secci\\u243?n 12",                 // a plain fallback character
        ".Secci{\\b \\'f3}n 12",             // the accent in its own group
        ".Secci\xF3n 12",                    // an 8-bit file
        ".Secci\\u243\\'f3n\\~12",           // a non-breaking space reads as a blank
        "{\\upr{.Secci\\'f3n 12}{\\*\\ud{.Secci\\u243?n 12}}}", // ANSI and Unicode versions
        ".Sec\r\nci\\'f3n 12",                                  // a line break in the source
    };
    for (const QByteArray& way : ways) {
        const QString text = rtfText(doc(way));
        EXPECT_EQ(text, kMarker) << way.toStdString() << " gave " << text.toStdString();
    }
    EXPECT_EQ(rtfText(doc(".Secci\\'97n 12", "\\mac")), kMarker);
    EXPECT_EQ(rtfText(doc(".Secci\\'a2n 12", "\\pc")), kMarker);
}

TEST(RtfCharacters, BytesFollowTheDocumentAndFontCodePages) {
    EXPECT_EQ(rtfText(doc("\\'e0\\'e1", "\\ansi\\ansicpg1251")), QStringLiteral("\u0430\u0431"));
    // Per font: Cyrillic and Central European fonts in a Western document.
    EXPECT_EQ(rtfText(doc("\\'e9 {\\f2 \\'e0} {\\f3 \\'b9}")),
              QStringLiteral("\u00E9 \u0430 \u0105"));
    // Double-byte: lead and trail bytes join, also across escapes.
    EXPECT_EQ(rtfText(doc("\\'82\\'a0\\'82\\'a2", "\\ansi\\ansicpg932")),
              QStringLiteral("\u3042\u3044"));
    EXPECT_EQ(rtfText(doc("\\'ce\\'d2", "\\ansi\\ansicpg936")), QStringLiteral("\u6211"));
    // A code page nobody knows reads as Windows-1252 rather than vanishing.
    EXPECT_EQ(rtfText(doc("\\'f1", "\\ansi\\ansicpg4242")), QStringLiteral("\u00F1"));
    // Windows-1252's own letters in 0x80..0x9F.
    EXPECT_EQ(rtfText(doc("\\'80\\'93\\'94\\'85")), QStringLiteral("\u20AC\u201C\u201D\u2026"));
}

TEST(RtfCharacters, SymbolFontsMapToTheirUnicodeCharacters) {
    EXPECT_EQ(rtfText(doc("{\\f1 \\'b7 \\'61\\'62}")), QStringLiteral("\u2022 \u03B1\u03B2"));
    // Word writes symbol glyphs as private-use characters.
    EXPECT_EQ(rtfText(doc("{\\f1 \\u-3913 ?}")), QStringLiteral("\u2022"));
    EXPECT_EQ(rtfText(doc("{\\f4 \\'a7\\'fc}")), QStringLiteral("\u25AA\u2713"));
    // The symbol font is not asked to draw the mapped character.
    auto d = readDoc(doc("{\\f1 \\'b7}"));
    EXPECT_TRUE(charFormatOf(*d, QStringLiteral("\u2022")).fontFamilies().toStringList().isEmpty());
}

TEST(RtfCharacters, NamedSpecialCharacters) {
    EXPECT_EQ(rtfText(doc("\\lquote a\\rquote \\ldblquote b\\rdblquote \\emdash\\endash\\bullet")),
              QStringLiteral(
                  "\u2018a\u2019\u201Cb\u201D\u2014\u2013\u2022")); // a word's space is its end
    EXPECT_EQ(rtfText(doc("a\\~b\\_c\\-d\\{\\}\\\\e")), QStringLiteral("a b\u2011cd{}\\e"));
    EXPECT_EQ(rtfText(doc("a\\tab b")), QStringLiteral("a\tb"));
    EXPECT_EQ(rtfText(doc("\\emspace\\enspace\\qmspace")), QStringLiteral("\u2003\u2002\u2005"));
}

TEST(RtfCharacters, UnicodeEscapesAndTheirFallbacks) {
    EXPECT_EQ(rtfText(doc("\\u241?a")), QStringLiteral("\u00F1a"));
    EXPECT_EQ(rtfText(doc("\\uc2\\u241 ab c")), QStringLiteral("\u00F1 c"));
    EXPECT_EQ(rtfText(doc("\\uc0\\u241 ab")), QStringLiteral("\u00F1ab"));
    // Negative values are the 16-bit value minus 65536.
    EXPECT_EQ(rtfText(doc("\\u-16?")), QString(QChar(0xFFF0)));
    // \uc is a group property, and skipping ends with the group.
    EXPECT_EQ(rtfText(doc("{\\uc3\\u241 a}b\\u241 cd")), QStringLiteral("\u00F1b\u00F1d"));
    // A fallback written as a control word is skipped like a character.
    EXPECT_EQ(rtfText(doc("\\u8220\\ldblquote x")), QStringLiteral("\u201Cx"));
    // An out-of-range value is a replacement character, not a wrapped one.
    EXPECT_EQ(rtfText(doc("\\u70000?")), QString(QChar(0xFFFD)));
}

TEST(RtfCharacters, SurrogatePairsJoinAndLoneHalvesAreReplaced) {
    const QString pile = QString::fromUcs4(U"\U0001F4A9");
    EXPECT_EQ(rtfText(doc("\\u-10179?\\u-9047?")), pile);
    EXPECT_EQ(rtfText(doc("a\\u-10179?b")), QStringLiteral("a\uFFFDb"));
    EXPECT_EQ(rtfText(doc("a\\u-9047?b")), QStringLiteral("a\uFFFDb"));
    EXPECT_EQ(rtfText(doc("a\\u-10179?\\u-10179?\\u-9047?")), QStringLiteral("a\uFFFD") + pile);
    EXPECT_EQ(rtfText(doc("a\\u-10179?\\par b")), QStringLiteral("a\uFFFD\nb"));
}

} // namespace
