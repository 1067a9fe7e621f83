#include "platform/core/Ansi.h"
#include "platform/core/NumberSet.h"
#include "platform/core/ShortText.h"

#include <gtest/gtest.h>

namespace {

TEST(Ansi, EveryByteSurvivesTheRoundTrip) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = ansiToString(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(stringToAnsi(text), all);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC));
    EXPECT_EQ(text.at(0xF3), QChar(u'ó'));
    // What the code page cannot hold becomes '?'.
    EXPECT_EQ(stringToAnsi(QStringLiteral("Łódź")), QByteArray("?\xF3"
                                                               "d?"));
}

TEST(Ansi, TeacherTextIsUtf8OnlyWhenItIsValidUtf8) {
    EXPECT_EQ(decodeTeacherText("Secci\xC3\xB3n"), QStringLiteral("Sección"));
    EXPECT_EQ(decodeTeacherText("\xEF\xBB\xBF"
                                "Secci\xC3\xB3n"),
              QStringLiteral("Sección"));
    EXPECT_EQ(decodeTeacherText("\xEF\xBB\xBF"
                                "abc"),
              QStringLiteral("abc"));
    EXPECT_EQ(decodeTeacherText("Secci\xF3n"), QStringLiteral("Sección"));
}

TEST(NumberSet, TakesNumbersModulo256) {
    NumberSet set;
    EXPECT_TRUE(set.isEmpty());
    set.add(257);
    EXPECT_TRUE(set.contains(1));
    EXPECT_TRUE(set.contains(513));
    set.add(-1);
    EXPECT_TRUE(set.contains(255));
    set.remove(1);
    set.remove(511);
    EXPECT_TRUE(set.isEmpty());
    set.add(0);
    set.add(256);
    set.remove(0);
    EXPECT_TRUE(set.isEmpty());
}

TEST(ShortText, CutsAt255Characters) {
    ShortText text(QString(300, u'x'));
    EXPECT_EQ(text.str().size(), 255);
    text = QStringLiteral("corto");
    EXPECT_EQ(text + QStringLiteral("_lec.rtf"), QStringLiteral("corto_lec.rtf"));
}

} // namespace
