#include "study/FileMove.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <QDir>
// std::min, not the macro.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN
namespace {
const wchar_t* native(const QString& path) {
    return reinterpret_cast<const wchar_t*>(path.utf16());
}
} // namespace

bool MoveToOwnName(const QString& from, const QString& to) {
    return MoveFileExW(native(QDir::toNativeSeparators(from)), native(QDir::toNativeSeparators(to)),
                       0);
}

bool MoveIfFree(const QString& from, const QString& to) {
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the name is taken.
    return MoveToOwnName(from, to);
}
#else
bool MoveToOwnName(const QString& from, const QString& to) {
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

bool MoveIfFree(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
#if defined(Q_OS_LINUX) && defined(RENAME_NOREPLACE)
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return true;
    // Network and FUSE file systems answer that they do not know the flag.
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return false;
#elif defined(Q_OS_DARWIN) && defined(RENAME_EXCL)
    if (::renamex_np(source.constData(), target.constData(), RENAME_EXCL) == 0)
        return true;
    if (errno != ENOTSUP && errno != EINVAL)
        return false;
#endif
    // A hard link is refused when the name is taken.
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return true;
    }
    if (errno == EEXIST || errno == ENOENT)
        return false;
    // A file system without links: the short window between the test and the move stays.
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
        return false;
    return ::rename(source.constData(), target.constData()) == 0;
}
#endif
