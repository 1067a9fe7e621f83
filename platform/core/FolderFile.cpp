#include "platform/core/FolderFile.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QIODevice::OpenMode qtMode(FolderAccess access) {
    switch (access) {
    case FolderAccess::Read:
        return QIODevice::ReadOnly;
    case FolderAccess::ReadWrite:
    case FolderAccess::CreateNew:
        return QIODevice::ReadWrite;
    case FolderAccess::Append:
    case FolderAccess::CreateOrAppend:
        break;
    }
    return QIODevice::WriteOnly | QIODevice::Append;
}

#ifdef Q_OS_WIN

std::wstring native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

FolderOpen openHandle(const QString& path, FolderAccess access, int& fd) {
    DWORD rights = GENERIC_READ;
    DWORD disposition = OPEN_EXISTING;
    int flags = _O_RDONLY;
    switch (access) {
    case FolderAccess::Read:
        break;
    case FolderAccess::ReadWrite:
        rights |= GENERIC_WRITE;
        flags = _O_RDWR;
        break;
    case FolderAccess::Append:
        rights = GENERIC_WRITE;
        flags = _O_WRONLY | _O_APPEND;
        break;
    case FolderAccess::CreateNew:
        rights |= GENERIC_WRITE;
        disposition = CREATE_NEW;
        flags = _O_RDWR;
        break;
    case FolderAccess::CreateOrAppend:
        rights = GENERIC_WRITE;
        disposition = OPEN_ALWAYS;
        flags = _O_WRONLY | _O_APPEND;
        break;
    }
    // The reparse point itself is opened, never what it names; its attributes then refuse it.
    const HANDLE handle = CreateFileW(
        native(path).c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, disposition, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
            return FolderOpen::Missing;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return IsLink(path) ? FolderOpen::Link : FolderOpen::Taken;
        default: {
            if (IsLink(path))
                return FolderOpen::Link;
            // A folder opens only with backup semantics: refused here, it is no file of ours.
            const DWORD attributes = GetFileAttributesW(native(path).c_str());
            return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)
                       ? FolderOpen::NotRegular
                       : FolderOpen::Failed;
        }
        }
    }
    BY_HANDLE_FILE_INFORMATION info{};
    FolderOpen result = FolderOpen::Opened;
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info))
        result = FolderOpen::NotRegular;
    else if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        result = FolderOpen::Link;
    else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        result = FolderOpen::NotRegular;
    if (result != FolderOpen::Opened) {
        CloseHandle(handle);
        return result;
    }
    fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
    if (fd < 0) {
        CloseHandle(handle);
        return FolderOpen::Failed;
    }
    return FolderOpen::Opened;
}

#else

FolderOpen openDescriptor(const QString& path, FolderAccess access, int& fd) {
    int flags = O_RDONLY;
    switch (access) {
    case FolderAccess::Read:
        break;
    case FolderAccess::ReadWrite:
        flags = O_RDWR;
        break;
    case FolderAccess::Append:
        flags = O_WRONLY | O_APPEND;
        break;
    case FolderAccess::CreateNew:
        flags = O_RDWR | O_CREAT | O_EXCL;
        break;
    case FolderAccess::CreateOrAppend:
        flags = O_WRONLY | O_APPEND | O_CREAT;
        break;
    }
    // Not blocking: a FIFO opens at once (or fails at once) and is refused below.
    fd = ::open(QFile::encodeName(path).constData(),
                flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int why = errno;
        if (IsLink(path))
            return FolderOpen::Link;
        switch (why) {
        case ENOENT:
            return FolderOpen::Missing;
        case EEXIST:
            return FolderOpen::Taken;
        case EISDIR:
        case ENXIO: // a FIFO opened for writing with no reader
            return FolderOpen::NotRegular;
        default:
            return FolderOpen::Failed;
        }
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return FolderOpen::NotRegular;
    }
    // Reads and writes of a regular file wait for the disk as they always do.
    const int status = ::fcntl(fd, F_GETFL);
    if (status == -1 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) == -1) {
        ::close(fd);
        return FolderOpen::Failed;
    }
    return FolderOpen::Opened;
}

#endif

} // namespace

FolderOpen OpenInFolder(QFile& file, const QString& path, FolderAccess access,
                        QIODevice::OpenMode extra) {
    file.close();
    int fd = -1;
#ifdef Q_OS_WIN
    const FolderOpen result = openHandle(path, access, fd);
#else
    const FolderOpen result = openDescriptor(path, access, fd);
#endif
    if (result != FolderOpen::Opened)
        return result;
    if (!file.open(fd, qtMode(access) | extra, QFileDevice::AutoCloseHandle)) {
#ifdef Q_OS_WIN
        _close(fd);
#else
        ::close(fd);
#endif
        return FolderOpen::Failed;
    }
    return FolderOpen::Opened;
}

QString FolderOpenReason(FolderOpen result) {
    switch (result) {
    case FolderOpen::Link:
        return QStringLiteral("es un enlace y no se sigue");
    case FolderOpen::NotRegular:
        return QStringLiteral("no es un archivo normal");
    case FolderOpen::Taken:
        return QStringLiteral("ya existe");
    case FolderOpen::Opened:
    case FolderOpen::Missing:
    case FolderOpen::Failed:
        break;
    }
    return QStringLiteral("no se puede abrir el archivo");
}

bool IsLink(const QString& path) {
#ifdef Q_OS_WIN
    const DWORD attributes = GetFileAttributesW(native(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
#else
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
#endif
}
