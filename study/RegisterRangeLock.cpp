#include "study/RegisterRangeLock.h"

#include "study/RegisterLock.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#ifdef Q_OS_WIN
#include <io.h>
// std::min, not the macro.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#endif

namespace {

constexpr quint64 kLockedByte = quint64(1) << 62;

#ifdef Q_OS_WIN
HANDLE nativeHandle(QFile& file) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
}

OVERLAPPED lockedByte() {
    OVERLAPPED at{};
    at.Offset = DWORD(kLockedByte & 0xFFFFFFFFu);
    at.OffsetHigh = DWORD(kLockedByte >> 32);
    return at;
}

// True when held; busy tells a lock held by someone else from a file system without locks.
bool tryLock(QFile& file, bool& busy) {
    OVERLAPPED at = lockedByte();
    if (LockFileEx(nativeHandle(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                   &at))
        return true;
    const DWORD why = GetLastError();
    busy = why == ERROR_LOCK_VIOLATION || why == ERROR_IO_PENDING;
    return false;
}
#else
// Open-file-description locks belong to the open file, not to the process: closing some other
// descriptor of the register in this process (the existence test opens one) does not drop them,
// as it would a classic POSIX lock's. Systems without them get the classic lock.
#ifdef F_OFD_SETLK
constexpr int kSetLock = F_OFD_SETLK;
#else
constexpr int kSetLock = F_SETLK;
#endif

struct flock lockedByte(short type) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = off_t(kLockedByte);
    range.l_len = 1;
    return range;
}

bool tryLock(QFile& file, bool& busy) {
    struct flock range = lockedByte(F_WRLCK);
    int result;
    do
        result = ::fcntl(file.handle(), kSetLock, &range);
    while (result == -1 && errno == EINTR);
    if (result == 0)
        return true;
    busy = errno == EAGAIN || errno == EACCES;
    return false;
}
#endif

} // namespace

// Tried again in short pauses rather than with the system's waiting lock (F_OFD_SETLKW,
// LockFileEx without LOCKFILE_FAIL_IMMEDIATELY), which has no time limit: the student must hear
// of a busy register in seconds, not wait on a program that hangs.
RangeLock LockRegisterRange(QFile& file, QDeadlineTimer deadline) {
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        bool busy = false;
        if (tryLock(file, busy))
            return RangeLock::Held;
        if (!busy)
            return RangeLock::Unavailable;
        if (deadline.hasExpired())
            return RangeLock::Busy;
        QThread::msleep(std::min<qint64>(RegisterLockPauseMs(waited.elapsed()),
                                         std::max<qint64>(1, deadline.remainingTime())));
    }
}

void UnlockRegisterRange(QFile& file) {
#ifdef Q_OS_WIN
    OVERLAPPED at = lockedByte();
    UnlockFileEx(nativeHandle(file), 0, 1, 0, &at);
#else
    struct flock range = lockedByte(F_UNLCK);
    ::fcntl(file.handle(), kSetLock, &range);
#endif
}
