#include "platform/core/TextList.h"

#include "platform/core/ToolkitError.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList load(const QByteArray& bytes) {
    TextList list;
    list.loadFromBytes(bytes);
    return list.lines();
}

TEST(TextList, SplitsAtCrLfLoneCrAndLoneLf) {
    EXPECT_EQ(load("a\r\nb\rc\nd"), QStringList({"a", "b", "c", "d"}));
    // A final break adds no empty line; breaks in a row give empty lines.
    EXPECT_EQ(load("a\r\n"), QStringList({"a"}));
    EXPECT_EQ(load("a\n\n"), QStringList({"a", ""}));
    EXPECT_EQ(load("\r\n\r\n"), QStringList({"", ""}));
    // LF CR is two breaks, not one.
    EXPECT_EQ(load("a\n\rb"), QStringList({"a", "", "b"}));
    EXPECT_EQ(load(""), QStringList());
    // Reading stops at a NUL byte.
    EXPECT_EQ(load(QByteArray("a\nb\0c\nd", 7)), QStringList({"a", "b"}));
    EXPECT_EQ(load(QByteArray("\0a", 2)), QStringList());
}

TEST(TextList, DecodesWindows1252ByteForByte) {
    EXPECT_EQ(load("Secci\xF3n \x80"), QStringList({QStringLiteral("Sección €")}));
}

TEST(TextList, RefusesIndexesOutsideTheList) {
    TextList list;
    list.add(QStringLiteral("uno"));
    EXPECT_EQ(list.at(0), QStringLiteral("uno"));
    for (qsizetype index : {qsizetype(1), qsizetype(-1)}) {
        try {
            list.at(index);
            ADD_FAILURE() << index;
        } catch (const ToolkitError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("List index out of bounds (%1)").arg(index));
        }
    }
}

TEST(TextList, FindsWholeLinesRegardlessOfCaseAndAccentedCapitals) {
    TextList list;
    list.add(QStringLiteral("2,3,"));
    list.add(QStringLiteral(".SECCIÓN 1"));
    list.add(QStringLiteral(".sección 1"));
    EXPECT_EQ(list.indexOf(QStringLiteral(".Sección 1")), 1);
    EXPECT_EQ(list.indexOf(QStringLiteral("2,3")), -1);
    EXPECT_EQ(list.indexOf(QStringLiteral(".Seccion 1")), -1);
    EXPECT_EQ(list.indexOf(QStringLiteral(".sección 1 ")), -1);
}

TEST(TextList, SavesEveryLineWithCrLfInWindows1252AndLoadsItBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("l.txt"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("lo que hubiera antes, mucho más largo");
    }
    TextList list;
    list.add(QStringLiteral("Cuestión"));
    list.add(QString());
    list.add(QStringLiteral("fin"));
    list.saveToFile(path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("Cuesti\xF3n\r\n\r\nfin\r\n"));
    TextList back;
    back.loadFromFile(path);
    EXPECT_EQ(back.lines(), list.lines());

    try {
        back.loadFromFile(dir.filePath(QStringLiteral("no.txt")));
        FAIL();
    } catch (const ToolkitError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Cannot open file ") + dir.filePath("no.txt"));
    }
}

} // namespace
