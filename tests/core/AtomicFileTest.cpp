#include "platform/core/AtomicFile.h"
#include "platform/core/RegularFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Five saves keep the three before the last, newest first, and nothing else beside them.
TEST(AtomicFile, KeepsThreeGenerationsOfBackups) {
    QTemporaryDir dir;
    const QString path = dir.filePath("K_CRJ.TXT");
    QString failure;
    for (const char* version : {"1", "2", "3", "4", "5"})
        ASSERT_TRUE(ReplaceKeepingBackups(path, version, failure)) << failure.toStdString();
    QByteArray bytes;
    for (const auto& [name, version] :
         {std::pair{"", "5"}, {".bak", "4"}, {".bak2", "3"}, {".bak3", "2"}}) {
        EXPECT_TRUE(ReadRegularFile(path + name, bytes, failure)) << name;
        EXPECT_EQ(bytes, version) << name;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4);
}

// What a kill leaves halfway is repaired by the next write: a gap among the backups is filled
// without renaming over an older backup, and a staged file an hour old is removed (a younger one
// may be another program's write under way).
TEST(AtomicFile, TheWriteAfterAKillLosesNoBackupAndClearsWhatWasLeft) {
    QTemporaryDir dir;
    const QString path = dir.filePath("K_CRJ.TXT");
    QString failure;
    for (const auto& [name, version] : {std::pair{"", "4"}, {".bak2", "3"}, {".bak3", "2"}})
        ASSERT_TRUE(WriteFileAtomically(path + name, version, failure));
    const QString old = path + ".nuevo-0000abcd", young = path + ".nuevo-0000abce";
    ASSERT_TRUE(WriteFilesAtomically({{old, "a medias"}, {young, "a medias"}}, failure));
    QFile aged(old);
    ASSERT_TRUE(aged.open(QIODevice::ReadWrite) &&
                aged.setFileTime(QDateTime::currentDateTime().addSecs(-7200),
                                 QFileDevice::FileModificationTime));
    aged.close();

    ASSERT_TRUE(ReplaceKeepingBackups(path, "5", failure)) << failure.toStdString();
    QByteArray bytes;
    for (const auto& [name, version] :
         {std::pair{"", "5"}, {".bak", "4"}, {".bak2", "3"}, {".bak3", "2"}}) {
        EXPECT_TRUE(ReadRegularFile(path + name, bytes, failure)) << name;
        EXPECT_EQ(bytes, version) << name;
    }
    EXPECT_FALSE(QFile::exists(old));
    EXPECT_TRUE(QFile::exists(young));
}
