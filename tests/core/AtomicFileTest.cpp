#include "platform/core/AtomicFile.h"
#include "platform/core/RegularFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

// Lets this process write only `bytes` into any file while it lives, as a full disk would; the
// signal is ignored, so that the write fails instead. Without such limits (Windows) it does
// nothing, and the writes it should stop succeed.
class FileSizeLimit {
public:
#ifdef Q_OS_UNIX
    explicit FileSizeLimit(rlim_t bytes) {
        ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &before_);
        rlimit limited = before_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &before_);
    }
    static constexpr bool kInForce = true;

private:
    rlimit before_{};
#else
    explicit FileSizeLimit(qint64) {}
    static constexpr bool kInForce = false;
#endif
};

} // namespace

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

// A write that fails (no folder to write in, a folder standing at the file's name, a file past
// what the disk takes) leaves every file of the write as it was and nothing beside them, and says
// which file could not be written, and why.
TEST(AtomicFile, AFailedWriteLeavesEveryFileAsItWas) {
    QTemporaryDir dir;
    const QString kept = dir.filePath("Tema_CRJ.TXT");
    const QString folder = dir.filePath("carpeta");
    ASSERT_TRUE(QDir(dir.path()).mkpath("carpeta/dentro"));
    QString failure;
    ASSERT_TRUE(WriteFileAtomically(kept, "antes", failure)) << failure.toStdString();
    const struct {
        const char* why;
        QString path;
        QByteArray bytes;
    } cases[] = {
        {"no se puede crear un archivo nuevo en su carpeta", dir.filePath("falta/K_CRJ.TXT"), "x"},
        {"no es un archivo normal", folder, "x"},
        {"el disco está lleno", dir.filePath("Grande_CRJ.TXT"), QByteArray(1 << 16, 'x')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        if (c.bytes.size() > 1 && !FileSizeLimit::kInForce)
            continue;
        const QList<std::pair<QString, QByteArray>> files{{kept, "después"}, {c.path, c.bytes}};
        bool written = true;
        {
            const FileSizeLimit limit(1 << 12);
            written = WriteFilesAtomically(files, failure);
        }
        EXPECT_FALSE(written);
        EXPECT_TRUE(failure.startsWith(QStringLiteral("No se puede escribir %1: %2")
                                           .arg(QDir::toNativeSeparators(c.path), c.why)))
            << failure.toStdString();
        QByteArray bytes;
        EXPECT_TRUE(ReadRegularFile(kept, bytes, failure));
        EXPECT_EQ(bytes, "antes");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("Tema_CRJ.TXT")});
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("dentro")});
    }
}
