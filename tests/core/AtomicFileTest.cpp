#include "platform/core/AtomicFile.h"
#include "platform/core/RegularFile.h"

#include <QDir>
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
