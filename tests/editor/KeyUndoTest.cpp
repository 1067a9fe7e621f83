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

// An edit taken back leaves the file's bytes as they were, each line with its own break; a line
// typed over keeps its break.
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
        document.edit({0,
                       2,
                       {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")},
                       QStringLiteral("cambiar")});
        document.edit({2, 0, {QStringLiteral("D")}, QStringLiteral("añadir")});
        while (document.undoStack()->canUndo())
            document.undoStack()->undo();
        EXPECT_FALSE(document.modified());
        EXPECT_EQ(writeKeyText(document.text()), key.bytes);
    }
}

} // namespace
