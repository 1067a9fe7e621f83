#include "platform/core/FolderFile.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

// Whatever is planted at a file's name, every way of opening it refuses at once, and the file a
// link names is neither read nor written.
TEST(FolderFile, RefusesLinksFifosAndFoldersForEveryAccess) {
    QTemporaryDir dir;
    const QString outside = dir.filePath("fuera.txt");
    QString failure;
    ASSERT_TRUE(WriteFileAtomically(outside, "secreto", failure));
    const QString folder = dir.filePath("carpeta");
    ASSERT_TRUE(QDir().mkdir(folder));
    std::vector<std::pair<QString, FolderOpen>> planted{{folder, FolderOpen::NotRegular}};
#ifndef Q_OS_WIN // QFile::link makes a shortcut there, a regular file
    const QString link = dir.filePath("enlace.csv"), fifo = dir.filePath("fifo.csv");
    ASSERT_TRUE(QFile::link(outside, link));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    planted.emplace_back(link, FolderOpen::Link);
    planted.emplace_back(fifo, FolderOpen::NotRegular);
#endif
    for (const auto& [path, expected] : planted) {
        for (FolderAccess access : {FolderAccess::Read, FolderAccess::ReadWrite,
                                    FolderAccess::Append, FolderAccess::CreateOrAppend}) {
            QFile file;
            EXPECT_EQ(OpenInFolder(file, path, access), expected) << path.toStdString();
            EXPECT_FALSE(file.isOpen());
        }
        QFile file;
        EXPECT_NE(OpenInFolder(file, path, FolderAccess::CreateNew), FolderOpen::Opened);
        EXPECT_FALSE(WriteFileAtomically(path, "nuevo", failure));
        EXPECT_TRUE(failure.contains(QDir::toNativeSeparators(path)) &&
                    failure.contains(FolderOpenReason(expected)))
            << failure.toStdString();
    }
    // A regular file opens as asked, written at its end once it no longer blocks.
    QFile file;
    ASSERT_EQ(OpenInFolder(file, outside, FolderAccess::Append), FolderOpen::Opened);
    EXPECT_EQ(file.write(" mas"), 4);
    file.close();
    QByteArray bytes;
    ASSERT_TRUE(ReadRegularFile(outside, bytes, failure));
    EXPECT_EQ(bytes, "secreto mas");
}
