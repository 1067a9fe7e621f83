#include "teacher/editor/KeyDocument.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Keys whose lines end in different breaks, as keys copied between computers do.
const struct {
    const char* name;
    QByteArray bytes;
    QByteArray retyped; // the bytes after line 1 is typed over with "X"
} kKeys[] = {
    {"CR LF, then LF", ".Secci\xf3n 1\r\n.cQ\n.rA\n.bS\xed\r\n",
     ".Secci\xf3n 1\r\nX\n.rA\n.bS\xed\r\n"},
    {"LF, then CR", ".Secci\xf3n 1\n.cQ\r.rA\r\n", ".Secci\xf3n 1\nX\r.rA\r\n"},
    {"no final break", ".Secci\xf3n 1\r\n.cQ\n.rA", ".Secci\xf3n 1\r\nX\n.rA"},
};

// An edit taken back leaves the file's bytes as they were, each line with its own break (a line
// deleted too, whose break is not the file's first); a line typed over keeps its break.
TEST(KeyUndo, UndoGivesBackEachLineWithItsOwnBreak) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto& key : kKeys) {
        SCOPED_TRACE(key.name);
        const QString path = dir.filePath("Tema_CRJ.TXT");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(key.bytes);
        file.close();
        KeyDocument document;
        QString failure;
        ASSERT_TRUE(document.open(path, failure)) << failure.toStdString();

        document.edit({1, 1, {QStringLiteral("X")}, QStringLiteral("escribir")}, true);
        EXPECT_EQ(writeKeyText(document.text()), key.retyped);
        document.edit({2, 1, {}, QStringLiteral("borrar")});
        document.edit({0,
                       2,
                       {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")},
                       QStringLiteral("cambiar")});
        document.edit({2, 0, {QStringLiteral("D")}, QStringLiteral("añadir")});
        while (document.canUndo())
            document.undo();
        EXPECT_FALSE(document.modified());
        EXPECT_EQ(writeKeyText(document.text()), key.bytes);
    }
}

// Saving is a place in the history: letters typed after it are a step of their own, so that undo
// returns to the saved key; once an edit writes over the undone steps, the saved key is gone.
TEST(KeyUndo, SavingIsAPlaceUndoReturnsTo) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    KeyDocument document;
    document.startNew(dir.filePath("Tema_CRJ.TXT"), {".Secci\u00f3n 1", ".cQ", ".rA"});
    document.edit({1, 1, {QStringLiteral(".cQu")}, QStringLiteral("escribir")}, true);
    ASSERT_TRUE(document.save().saved);
    document.edit({1, 1, {QStringLiteral(".cQue")}, QStringLiteral("escribir")}, true);
    document.edit({1, 1, {QStringLiteral(".cQuev")}, QStringLiteral("escribir")}, true);
    EXPECT_TRUE(document.modified());
    document.undo();
    EXPECT_FALSE(document.modified());
    EXPECT_EQ(document.lines().at(1), ".cQu");
    document.undo();
    document.edit({2, 1, {QStringLiteral(".rB")}, QStringLiteral("escribir")});
    EXPECT_FALSE(document.canRedo());
    EXPECT_TRUE(document.modified());
    document.undo();
    EXPECT_EQ(document.lines().at(1), ".cQ");
    EXPECT_TRUE(document.modified());
}

} // namespace
