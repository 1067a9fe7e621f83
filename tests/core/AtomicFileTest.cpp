#include "AtomicFile.h"
#include "RegularFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString& path) {
    QByteArray bytes;
    QString reason;
    return ReadRegularFile(path, bytes, reason) ? bytes : QByteArray("(ninguno)");
}

} // namespace

// Five saves keep the three before the last, newest first, and nothing else beside them.
TEST(AtomicFile, KeepsThreeGenerationsOfBackups) {
    QTemporaryDir dir;
    const QString path = dir.filePath("K_CRJ.TXT");
    QString failure;
    for (const char* version : {"1", "2", "3", "4", "5"})
        ASSERT_TRUE(ReplaceKeepingBackups(path, version, failure)) << failure.toStdString();
    EXPECT_EQ(contents(path), "5");
    EXPECT_EQ(contents(path + ".bak"), "4");
    EXPECT_EQ(contents(path + ".bak2"), "3");
    EXPECT_EQ(contents(path + ".bak3"), "2");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4);
}
