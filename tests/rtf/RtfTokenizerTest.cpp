#include "platform/rtf/RtfTokenizer.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

using Kind = RtfToken::Kind;

// Tokens point into the bytes they came from: the bytes are kept until the next call.
std::vector<RtfToken> tokenize(const QByteArray& data) {
    static QByteArray kept;
    kept = data;
    RtfTokenizer tokenizer(kept);
    std::vector<RtfToken> tokens;
    for (RtfToken t = tokenizer.next(); t.kind != Kind::End; t = tokenizer.next())
        tokens.push_back(t);
    return tokens;
}

TEST(RtfTokenizer, SplitsWordsParametersAndDelimiters) {
    const QByteArray data("{\\b0 x\\fs-24y\\'e9\\~\r\n z}");
    const auto t = tokenize(data);
    ASSERT_EQ(t.size(), 9u);
    EXPECT_EQ(t[0].kind, Kind::GroupOpen);
    EXPECT_EQ(t[1].word, "b");
    EXPECT_TRUE(t[1].hasParam);
    EXPECT_EQ(t[1].param, 0);
    EXPECT_EQ(t[2].bytes, "x"); // the space after \b0 is its delimiter
    EXPECT_EQ(t[3].word, "fs");
    EXPECT_EQ(t[3].param, -24);
    EXPECT_EQ(t[4].bytes, "y");
    EXPECT_EQ(t[5].kind, Kind::HexByte);
    EXPECT_EQ(t[5].byte, 0xE9);
    EXPECT_EQ(t[6].symbol, '~');
    EXPECT_EQ(t[7].bytes, " z"); // CR and LF are not text
    EXPECT_EQ(t[8].kind, Kind::GroupClose);
}

TEST(RtfTokenizer, BoundsOverlongWordsAndNumbers) {
    const QByteArray longWord = "\\" + QByteArray(100, 'a') + "5 ok";
    auto t = tokenize(longWord);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_TRUE(t[0].word.empty());
    EXPECT_EQ(t[0].param, 5);
    EXPECT_EQ(t[1].bytes, "ok");

    t = tokenize("\\fs99999999999999999999999 \\li-99999999999999999999");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].param, std::numeric_limits<int>::max());
    EXPECT_EQ(t[1].param, -std::numeric_limits<int>::max());

    // A word of exactly the longest allowed length keeps its name.
    const std::string longest(RtfTokenizer::kMaxWordLength, 'q');
    t = tokenize(QByteArray("\\") + longest.c_str());
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].word, longest);
}

TEST(RtfTokenizer, BinaryTakesExactlyItsBytesAndNeverPassesTheEnd) {
    auto t = tokenize("\\bin3 {}\\x");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].kind, Kind::Binary);
    EXPECT_EQ(t[0].bytes, "{}\\");
    EXPECT_EQ(t[1].bytes, "x");

    t = tokenize("\\bin999999 ab");
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].bytes, "ab");

    t = tokenize("\\bin2147483647");
    ASSERT_EQ(t.size(), 1u);
    EXPECT_TRUE(t[0].bytes.isEmpty());

    t = tokenize("\\bin-5 ab");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_TRUE(t[0].bytes.isEmpty());
    EXPECT_EQ(t[1].bytes, "ab");
}

TEST(RtfTokenizer, BadEscapesAreDroppedWithoutLosingWhatFollows) {
    auto t = tokenize("\\'zz");
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].bytes, "zz");

    t = tokenize("\\'4g");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].byte, 4);
    EXPECT_EQ(t[1].bytes, "g");

    EXPECT_TRUE(tokenize("abc\\").size() == 1);
    EXPECT_TRUE(tokenize("\\'").empty());
    // A minus sign not followed by a digit is text, not a parameter.
    t = tokenize("\\b-x");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_FALSE(t[0].hasParam);
    EXPECT_EQ(t[1].bytes, "-x");
}

} // namespace
