#include "tests/rtf/RtfTestSupport.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int status;
    QByteArray out, err;
};

ToolRun rtf2text(const QString& path) {
    QProcess process;
    process.start(QStringLiteral(DORVALIA_RTF2TEXT), {path});
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

TEST(Rtf2Text, PrintsTheViewersTextAsUtf8) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("l.rtf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1\\ansi .Secci\\'f3n 1\\par \\'bfQu\\'e9?\\par}");
    file.close();
    const ToolRun run = rtf2text(path);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, QByteArray(".Secci\xC3\xB3n 1\n\xC2\xBFQu\xC3\xA9?\n"));
}

TEST(Rtf2Text, AFileThatCannotBeOpenedFailsWithTheViewersMessage) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing.rtf"));
    const ToolRun run = rtf2text(path);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains(("Cannot open file " + path).toUtf8())) << run.err.constData();
}

} // namespace
