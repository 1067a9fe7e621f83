#include "study/RegisterLock.h"

#include "study/FileMove.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QThread>
#include <QTimeZone>

#include <cstdlib>

#ifdef Q_OS_WIN
#include <QDir>
// std::min, not the macro.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// A share that refuses to remove a file somebody holds open usually lets go within moments.
constexpr int kRemoveTries = 10;
constexpr int kRemovePauseMs = 20;
// How long the lock file's creation must keep failing before the folder is taken to refuse it.
constexpr int kRefusalMs = 1000;
// How long a lock file stays unchanged before the share itself is asked whether it is there.
constexpr qint64 kAskShareMs = 1000;
constexpr int kPaddingMost = 1024;

QByteArray newToken() {
    return QByteArray::number(QRandomGenerator::system()->generate64(), 16) + '-' +
           QByteArray::number(QCoreApplication::applicationPid());
}

// A fifth line of random length makes two lock files made in the same second differ in size, so
// that what the share shows of them without opening them tells them apart.
QByteArray lockContents(const QByteArray& token) {
    return QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
           QCoreApplication::applicationName().toUtf8() + '\n' +
           QSysInfo::machineHostName().toUtf8() + '\n' + token + '\n' +
           QByteArray(QRandomGenerator::global()->bounded(kPaddingMost), '.') + '\n';
}

} // namespace

RegisterLockSighting RegisterLockSighting::of(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {true, info.lastModified().toUTC(), info.size(), info.birthTime().toUTC()};
}

namespace {

using Sighting = RegisterLockSighting;

Sighting sightingOf(const QString& path) {
    return Sighting::of(path);
}

std::function<qint64()>& lockClock() {
    static std::function<qint64()> clock;
    return clock;
}

qint64 monotonicMs() {
    if (lockClock())
        return lockClock()();
    static const QElapsedTimer started = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return started.elapsed();
}

// What this program has seen of each lock file and since when, by its own monotonic clock. Kept
// from one save to the next: a student who tries again after a busy register goes on watching
// the same lock file, and takes it over once it has stayed unchanged long enough.
struct Watch {
    Sighting seen;
    qint64 since = 0;
    qint64 asked = 0; // when the share itself was last asked about it
};
QMutex watchesMutex;
QHash<QString, Watch> watches;

enum class LockAge { Young, Unchanged, Stale };

// Young while it changes; unchanged, once a second, after a second without change: a client
// that caches the folder (sshfs does, for 20 s) may show a lock file that is gone, and refuse its
// exclusive creation too.
LockAge watch(const QString& path, const Sighting& seen) {
    const QMutexLocker locked(&watchesMutex);
    const qint64 now = monotonicMs();
    auto found = watches.find(path);
    if (found == watches.end() || found->seen != seen) {
        watches.insert(path, {seen, now, now});
        return LockAge::Young;
    }
    if (now - found->since >= kRegisterLockStaleMs)
        return LockAge::Stale;
    if (now - found->asked < kAskShareMs)
        return LockAge::Young;
    found->asked = now;
    return LockAge::Unchanged;
}

// Whether the lock file is really there, asked of the share by opening it: the one request that
// gets past a client's cache. Opened for a moment only, and only once it has stayed for a second:
// a lock held that long already, and kept open for a moment, is at worst marked released.
bool reallyThere(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) || QFileInfo::exists(path);
}

void forget(const QString& path) {
    const QMutexLocker locked(&watchesMutex);
    watches.remove(path);
}

// A name of this program's own beside the lock file, for the moment of a removal.
QString asideName(const QString& path, const QByteArray& token) {
    static QAtomicInt moves;
    return path + u'.' + QString::fromLatin1(token) + u'.' +
           QString::number(moves.fetchAndAddRelaxed(1)) + QStringLiteral(".aparte");
}

bool removeSoon(const QString& path) {
    for (int i = 0; i < kRemoveTries; ++i) {
        if (QFile::remove(path) || !QFileInfo::exists(path))
            return true;
        QThread::msleep(kRemovePauseMs);
    }
    return false;
}

enum class Removal { Removed, NotTheOne, Refused };

// Removes the lock file at path only if it is the one expected: moved first to a name of this
// program's own, where nobody else can make or take it, and looked at there. Another program's
// fresh lock, moved by mistake, goes back to its name; when that was taken again meanwhile, two
// programs think they hold the lock, and the moved one, which guards nothing, goes.
Removal removeIfTheOne(const QString& path, const QByteArray& token,
                       const std::function<bool(const QString& aside)>& isTheOne) {
    const QString aside = asideName(path, token);
    if (!MoveToOwnName(path, aside))
        return Removal::Refused;
    if (isTheOne(aside)) {
        removeSoon(aside);
        return Removal::Removed;
    }
    if (!MoveIfFree(aside, path))
        removeSoon(aside);
    return Removal::NotTheOne;
}

enum class Creation {
    Made,
    Exists,
    Busy,   // refused the way a share refuses while a lock file comes or goes
    Refused // refused the way a folder refuses what it never takes: the refusal is the folder's
};

// Creates the lock file exclusively and writes contents into it, with the system's own calls: the
// error tells a folder that refuses new files from a share that is busy with the name.
#ifdef Q_OS_WIN
Creation createExclusive(const QString& path, const QByteArray& contents) {
    // Others may read it and remove it while it is being written.
    const HANDLE file =
        CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
                    GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD why = GetLastError();
        if (why == ERROR_FILE_EXISTS || why == ERROR_ALREADY_EXISTS || QFileInfo::exists(path))
            return Creation::Exists;
        // A file whose removal waits for its last reader refuses with "access denied" too; the
        // refusal that lasts tells the two apart.
        return why == ERROR_SHARING_VIOLATION || why == ERROR_LOCK_VIOLATION ||
                       why == ERROR_DELETE_PENDING
                   ? Creation::Busy
                   : Creation::Refused;
    }
    DWORD written = 0;
    const bool whole =
        WriteFile(file, contents.constData(), DWORD(contents.size()), &written, nullptr) &&
        written == DWORD(contents.size());
    CloseHandle(file);
#else
Creation createExclusive(const QString& path, const QByteArray& contents) {
    const int file =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file < 0) {
        const int why = errno;
        if (why == EEXIST || QFileInfo::exists(path))
            return Creation::Exists;
        // An SMB client fails the creation of a name whose removal waits for its last reader
        // with an input/output error.
        return why == EIO || why == EBUSY || why == EAGAIN || why == EINTR || why == ESTALE ||
                       why == ETXTBSY
                   ? Creation::Busy
                   : Creation::Refused;
    }
    ssize_t written;
    do
        written = ::write(file, contents.constData(), size_t(contents.size()));
    while (written < 0 && errno == EINTR);
    const bool whole = written == contents.size();
    ::close(file);
#endif
    if (!whole) {
        // A full disk: a lock file nobody can read must not stay.
        QFile::remove(path);
        return Creation::Refused;
    }
    return Creation::Made;
}

} // namespace

// Jittered, so that the waiting programs do not look in step. Short at first: saves take
// milliseconds. Longer the longer a program waits: every look costs the share a request, and a
// class of thirty looking every few milliseconds slows the save they all wait for (on an SMB share,
// thirty saves took three times as long).
int RegisterLockPauseMs(qint64 waitedMs) {
    const qint64 longest = std::min<qint64>(250, 30 + waitedMs / 4);
    return 5 + int(QRandomGenerator::global()->bounded(int(longest - 5)));
}

QString RegisterLockPath(const QString& registerPath) {
    return registerPath + QStringLiteral(".lock");
}

QDateTime RegisterLockReleasedTime() {
    return QDateTime(QDate(2000, 1, 1), QTime(0, 0), QTimeZone::utc());
}

void SetRegisterLockClock(std::function<qint64()> clock) {
    lockClock() = std::move(clock);
}

RegisterLock::RegisterLock(QString path, QByteArray token, RegisterLockSighting made)
    : path_(std::move(path)), token_(std::move(token)), made_(std::move(made)) {}

RegisterLock::~RegisterLock() {
    unlock();
}

namespace {
QByteArray tokenIn(QFile& file) {
    return file.read(4096).split('\n').value(3);
}

// A lock file that cannot be read cannot show another program's token either.
bool bearsToken(const QString& path, const QByteArray& token) {
    QFile file(path);
    return !file.open(QIODevice::ReadOnly) || tokenIn(file) == token;
}
} // namespace

bool RegisterLock::stillOurs() const {
    return bearsToken(path_, token_);
}

namespace {
// Where a share shows a file's times or size differently from one look to the next, the token
// decides, read at the cost of opening the file.
bool isOurs(const QString& path, const RegisterLockSighting& made, const QByteArray& token) {
    if (sightingOf(path) == made)
        return true;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && tokenIn(file) == token;
}
} // namespace

bool RegisterLock::stillInPlace() const {
    return isOurs(path_, made_, token_);
}

void RegisterLock::unlock() {
    if (!held_)
        return;
    held_ = false;
    // Looked at without opening it: a file opened a moment before its removal stays, on a FUSE
    // client, as a ".fuse_hidden" file. Only the one this lock made is removed, even if the
    // removal comes late; one made again over ours is another program's lock now.
    const auto ours = [this](const QString& aside) { return isOurs(aside, made_, token_); };
    for (int i = 0; i < kRemoveTries; ++i) {
        switch (removeIfTheOne(path_, token_, ours)) {
        case Removal::Removed:
        case Removal::NotTheOne:
            return;
        case Removal::Refused:
            if (!QFileInfo::exists(path_))
                return;
            QThread::msleep(kRemovePauseMs);
        }
    }
    // Somebody keeps it open. Dated as released, it is taken over at once by the next program,
    // which removes it when it can, instead of waiting out the stale time.
    QFile file(path_);
    if (file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly) && tokenIn(file) == token_)
        file.setFileTime(RegisterLockReleasedTime(), QFileDevice::FileModificationTime);
}

std::unique_ptr<RegisterLock> LockRegister(const QString& registerPath, int timeoutMs,
                                           QLockFile::LockError* error) {
    const QString path = RegisterLockPath(registerPath);
    const QDeadlineTimer deadline(timeoutMs);
    int refusals = 0;
    QElapsedTimer refusedSince;
    QElapsedTimer waited;
    waited.start();
    auto fail = [&](QLockFile::LockError why) {
        if (error)
            *error = why;
        return nullptr;
    };
    for (;;) {
        // The creation itself is the question: a listing or an existence test may come from a
        // client's cache and show a lock file that is gone.
        const QByteArray token = newToken();
        switch (createExclusive(path, lockContents(token))) {
        case Creation::Made:
            // A share that turns exclusive creation into "create or overwrite" may have let
            // another program make it at the same moment; the later one holds it.
            if (bearsToken(path, token)) {
                forget(path);
                if (error)
                    *error = QLockFile::NoError;
                return std::make_unique<RegisterLock>(path, token, sightingOf(path));
            }
            refusals = 0;
            break;
        case Creation::Exists: {
            refusals = 0;
            const Sighting seen = sightingOf(path);
            if (!seen.exists)
                break; // gone since
            const bool released = seen.modified == RegisterLockReleasedTime();
            if (!released) {
                const LockAge age = watch(path, seen);
                if (age == LockAge::Unchanged && !reallyThere(path))
                    continue;
                if (age != LockAge::Stale)
                    break;
            }
            const auto theOne = [&seen](const QString& aside) { return sightingOf(aside) == seen; };
            if (removeIfTheOne(path, token, theOne) == Removal::Removed) {
                forget(path);
                continue;
            }
            break;
        }
        case Creation::Busy:
            refusals = 0;
            break;
        case Creation::Refused:
            // A refusal with no lock file may be of one that was there a moment ago: an SMB
            // server refuses to make a file whose removal waits for its last reader. Only a
            // refusal that lasts is the folder's.
            if (refusals++ == 0)
                refusedSince.start();
            if (refusals >= 3 && refusedSince.hasExpired(kRefusalMs))
                return fail(QLockFile::PermissionError);
            break;
        }
        // Out of time while the creation is refused and no lock file is there: nobody holds it.
        if (deadline.hasExpired())
            return fail(refusals > 0 ? QLockFile::PermissionError : QLockFile::LockFailedError);
        QThread::msleep(std::min<qint64>(RegisterLockPauseMs(waited.elapsed()),
                                         std::max<qint64>(1, deadline.remainingTime())));
    }
}
