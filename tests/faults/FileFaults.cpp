#include "tests/faults/FileFaults.h"

#include <QDir>
#include <QFile>

#include <csignal>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace FileFaults {

#ifdef Q_OS_LINUX

namespace {

QString failure(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

constexpr qint64 kPage = 4096;

} // namespace

QString privateMounts() {
    static const QString reason = [] {
        if (::unshare(CLONE_NEWNS) != 0)
            return failure("unshare(CLONE_NEWNS)");
        // Mounts made from here on must not propagate back to the machine's namespace.
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return failure("mount --make-rprivate /");
        return QString();
    }();
    return reason;
}

QString mountTmpfs(const QString& folder, qint64 bytes) {
    const QString reason = privateMounts();
    if (!reason.isEmpty())
        return reason;
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    if (::mount("tmpfs", native(folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData()) != 0)
        return failure("mount -t tmpfs");
    return QString();
}

QString remount(const QString& folder, bool readOnly) {
    const unsigned long flags = MS_REMOUNT | MS_NOSUID | MS_NODEV | (readOnly ? MS_RDONLY : 0);
    if (::mount(nullptr, native(folder).constData(), nullptr, flags, nullptr) != 0)
        return failure("mount -o remount");
    return QString();
}

void unmount(const QString& folder) {
    ::umount2(native(folder).constData(), MNT_DETACH);
}

QString fillDisk(const QString& folder, qint64 leave) {
    const QString path = QDir(folder).filePath(QStringLiteral("relleno"));
    const int fd = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return QString();
    const QByteArray page(kPage, 'x');
    qint64 size = 0;
    for (;;) {
        const ssize_t n = ::write(fd, page.constData(), page.size());
        if (n <= 0)
            break;
        size += n;
    }
    const qint64 keep = std::max<qint64>(0, size - (leave + kPage - 1) / kPage * kPage);
    const bool ok = ::ftruncate(fd, keep) == 0;
    ::close(fd);
    return ok ? path : QString();
}

QString setImmutable(const QString& path, bool immutable) {
    const int fd = ::open(native(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return failure("open");
    int flags = 0;
    QString reason;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0) {
        reason = failure("FS_IOC_GETFLAGS");
    } else {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        if (::ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0)
            reason = failure("FS_IOC_SETFLAGS (chattr +i)");
    }
    ::close(fd);
    return reason;
}

QString makeFifo(const QString& path) {
    if (::mkfifo(native(path).constData(), 0644) != 0)
        return failure("mkfifo");
    return QString();
}

QString makeSocket(const QString& path) {
    const QByteArray name = native(path);
    sockaddr_un address{};
    if (name.size() >= qsizetype(sizeof(address.sun_path)))
        return QStringLiteral("socket path too long for sockaddr_un");
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), name.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return failure("socket");
    // The socket file stays after the descriptor is closed; nothing listens on it.
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    const QString reason = bound ? QString() : failure("bind");
    ::close(fd);
    return reason;
}

FileSizeLimit::FileSizeLimit(qint64 limit) {
    rlimit current{};
    if (::getrlimit(RLIMIT_FSIZE, &current) != 0) {
        reason_ = failure("getrlimit");
        return;
    }
    saved_[0] = qint64(current.rlim_cur);
    saved_[1] = qint64(current.rlim_max);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lower = current;
    lower.rlim_cur = rlim_t(limit);
    if (::setrlimit(RLIMIT_FSIZE, &lower) != 0)
        reason_ = failure("setrlimit(RLIMIT_FSIZE)");
}

FileSizeLimit::~FileSizeLimit() {
    if (!reason_.startsWith(QLatin1String("getrlimit"))) {
        const rlimit saved{rlim_t(saved_[0]), rlim_t(saved_[1])};
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler_);
    }
}

#else

namespace {
const QString kLinuxOnly = QStringLiteral("needs Linux");
}

QString privateMounts() {
    return kLinuxOnly;
}
QString mountTmpfs(const QString&, qint64) {
    return kLinuxOnly;
}
QString remount(const QString&, bool) {
    return kLinuxOnly;
}
void unmount(const QString&) {}
QString fillDisk(const QString&, qint64) {
    return QString();
}
QString setImmutable(const QString&, bool) {
    return kLinuxOnly;
}
QString makeFifo(const QString&) {
    return kLinuxOnly;
}
QString makeSocket(const QString&) {
    return kLinuxOnly;
}
FileSizeLimit::FileSizeLimit(qint64) : reason_(kLinuxOnly) {}
FileSizeLimit::~FileSizeLimit() = default;

#endif

} // namespace FileFaults
