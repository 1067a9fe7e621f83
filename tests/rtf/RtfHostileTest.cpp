// Damaged and hostile files: each must read quickly, without a crash, keeping what can be shown.

#include "platform/rtf/RtfReader.h"
#include "tests/rtf/RtfTestSupport.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

TEST(RtfHostile, DeepNestingNeedsNoRecursion) {
    const int depth = 100000;
    QByteArray deep =
        "{\\rtf1 a" + QByteArray(depth, '{') + "\\b x" + QByteArray(depth, '}') + "b\\par}";
    EXPECT_EQ(rtfText(deep), QStringLiteral("axb"));
    // Unclosed, and with destinations opened beyond the depth cap.
    QByteArray open = "{\\rtf1 a";
    for (int i = 0; i < depth; ++i)
        open += i % 1000 == 999 ? "{\\*\\x " : "{";
    open += "end";
    EXPECT_TRUE(rtfText(open).startsWith(u'a'));
}

TEST(RtfHostile, StrayAndMissingBraces) {
    // A stray brace that would end the document early is ignored when more text follows.
    EXPECT_EQ(rtfText("{\\rtf1 one\\par} two\\par}"), QStringLiteral("one\n two"));
    EXPECT_EQ(rtfText("{\\rtf1 one\\par}}}"), QStringLiteral("one"));
    // A missing final brace closes what is open.
    EXPECT_EQ(rtfText("{\\rtf1 {\\b one}{\\i two"), QStringLiteral("onetwo"));
    // After the final brace: NULs, padding and anything else are not the document.
    EXPECT_EQ(rtfText(QByteArray("{\\rtf1 x}\0\0\0garbage", 17)), QStringLiteral("x"));
    EXPECT_EQ(rtfText("}}}{\\rtf1 x}"), QStringLiteral("x"));
    // A run of stray braces is handled in linear time.
    EXPECT_EQ(rtfText("{\\rtf1 a" + QByteArray(200000, '}') + "b}"), QStringLiteral("ab"));
}

TEST(RtfHostile, OverflowingNumbersAndGiantSkips) {
    EXPECT_EQ(rtfText("{\\rtf1 \\fs99999999999999999999 a\\li-99999999999999 b\\f2147483647 c"
                      "\\cf-5 d\\highlight99999 e\\ls-1\\ilvl999 f\\par}"),
              QStringLiteral("abcdef"));
    // \uc with a huge count eats at most the rest of its group.
    EXPECT_EQ(rtfText("{\\rtf1 {\\uc2147483647\\u241 lots of fallback}after\\par}"),
              QStringLiteral("\u00F1after"));
    EXPECT_EQ(rtfText("{\\rtf1 \\uc-7\\u241 x\\par}"), QStringLiteral("\u00F1x"));
    EXPECT_EQ(rtfText("{\\rtf1 \\u-2147483647 ?\\u2147483647 ?x\\par}"),
              QStringLiteral("\uFFFD\uFFFDx"));
}

TEST(RtfHostile, BinaryDataIsSkippedExactly) {
    // Braces and backslashes inside \bin data are data, in shown and in skipped groups.
    EXPECT_EQ(rtfText("{\\rtf1 a{\\*\\blob \\bin4 }}{\\}b\\par}"), QStringLiteral("ab"));
    EXPECT_EQ(rtfText("{\\rtf1 a\\bin3 {{{b\\par}"), QStringLiteral("ab"));
    EXPECT_EQ(rtfText("{\\rtf1 a\\bin-3 b\\par}"), QStringLiteral("ab"));
    EXPECT_EQ(rtfText("{\\rtf1 a{\\*\\x\\bin2147483647 bbbb"), QStringLiteral("a"));
}

TEST(RtfHostile, HugeTablesAreCapped) {
    QByteArray fonts = "{\\rtf1{\\fonttbl";
    QByteArray colors = "{\\colortbl;";
    QByteArray styles = "{\\stylesheet";
    for (int i = 0; i < 50000; ++i) {
        fonts += "{\\f" + QByteArray::number(i) + " Font" + QByteArray::number(i) + ";}";
        colors += "\\red1\\green2\\blue3;";
        styles += "{\\s" + QByteArray::number(i) + "\\sbasedon" + QByteArray::number(i + 1) +
                  "\\b Style;}";
    }
    const QByteArray doc =
        fonts + "}" + colors + "}" + styles + "}\\s0\\f49999\\cf49999 text\\par}";
    EXPECT_EQ(rtfText(doc), QStringLiteral("text"));

    // A row of ten thousand cells keeps every cell's text in a bounded table.
    QByteArray row = "{\\rtf1\\trowd\\pard\\intbl ";
    for (int i = 0; i < 10000; ++i)
        row += "c\\cell ";
    row += "\\row\\pard end\\par}";
    const QString text = rtfText(row);
    EXPECT_EQ(text.count(u'c'), 10000);
    EXPECT_TRUE(text.endsWith(QStringLiteral("end")));
}

TEST(RtfHostile, TruncatedFilesShowTheirBeginning) {
    const QByteArray full = readDataFile("leccion_formato.rtf");
    ASSERT_FALSE(full.isEmpty());
    for (qsizetype length = 0; length < full.size(); length += 997)
        readDoc(full.left(length));
    const QString head =
        rtfText(full.left(full.indexOf("Sección 1") > 0 ? full.indexOf("Sección 1")
                                                        : full.indexOf("Secci\\u243") + 40));
    EXPECT_TRUE(head.contains(QStringLiteral("El agua en la Tierra")));
}

TEST(RtfHostile, RandomDamageNeverCrashes) {
    const QByteArray seed = readDataFile("leccion_formato.rtf").left(40000);
    QRandomGenerator random(20240611);
    const char special[] = {'{', '}', '\\', '\'', '0', '9', '-', ' ', '\0', 'u', 'b'};
    for (int round = 0; round < 200; ++round) {
        QByteArray damaged = seed;
        const int edits = 1 + random.bounded(50);
        for (int e = 0; e < edits; ++e) {
            const int at = random.bounded(int(damaged.size()));
            switch (random.bounded(3)) {
            case 0:
                damaged[at] = char(random.bounded(256));
                break;
            case 1:
                damaged.insert(at, special[random.bounded(int(sizeof special))]);
                break;
            default:
                damaged.remove(at, random.bounded(64));
                break;
            }
        }
        readDoc(damaged);
    }
    for (int round = 0; round < 50; ++round) {
        QByteArray noise = "{\\rtf1 ";
        for (int i = 0; i < 20000; ++i)
            noise += char(random.bounded(256));
        readDoc(noise);
    }
}

} // namespace
