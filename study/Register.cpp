#include "study/Register.h"

#include "lesson/LessonFiles.h"
#include "platform/core/Ansi.h"
#include "platform/core/Clock.h"
#include "platform/core/DiskSync.h"
#include "platform/core/FolderFile.h"
#include "platform/core/RegularFile.h"
#include "platform/core/ToolkitError.h"
#include "study/Journal.h"
#include "study/RegisterLock.h"
#include "study/RegisterRangeLock.h"
#include "study/Visit.h"
#include "study/VisitCopy.h"
#include "study/VisitMatch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>

namespace {

// An old editor may have ended the file with an end-of-file byte; appended lines must not land
// behind it, where a reader would never see them.
constexpr char kEndOfFile = 0x1A;
constexpr qint64 kEndOfFileWindow = 128;

constexpr int kDiskFull = 101;

bool canBeRead(const QString& path) {
    QFile file(path);
    return openRegularFileForReading(file);
}

// The runtime's code for a register that could not be opened for appending.
int appendOpenErrorCode(const QString& path) {
    const QFileInfo info(path);
    if (!info.dir().exists())
        return 3;
    if (!info.exists())
        return 2;
    return 5;
}

// How many times a save appends its lines again after finding other bytes where it wrote them.
constexpr int kAppendTries = 4;

std::function<void(const QString&, qint64)>& readBackHook() {
    static std::function<void(const QString&, qint64)> hook;
    return hook;
}

ToolkitError busyError(const QString& path) {
    return ToolkitError(QStringLiteral("El registro \"%1\" está ocupado por otro programa y no se "
                                       "ha podido guardar. Inténtelo de nuevo dentro de unos "
                                       "segundos.")
                            .arg(path));
}

// The class folder is written by every student: a link at the register's name could send the
// visit into any file the student may write, or a classmate's lines out of the folder.
ToolkitError linkError(const QString& path) {
    return ToolkitError(QStringLiteral("El registro \"%1\" es un enlace y no se sigue: no se ha "
                                       "guardado la visita.")
                            .arg(path));
}

ToolkitError concurrentError(const QString& path) {
    return ToolkitError(QStringLiteral("No se ha podido guardar el registro \"%1\": otro programa "
                                       "escribía en él al mismo tiempo. Inténtelo de nuevo")
                            .arg(path));
}

// Holds the byte-range lock on the open register. Where the lock file is held it is a second
// guard, against a program that could make no lock file; where no lock file could be made it is
// the only one, and a file system without such locks refuses the save.
class RangeHold {
public:
    RangeHold(QFile& file, const QString& path, bool onlyGuard) : file_(file) {
        switch (LockRegisterRange(file, QDeadlineTimer(kRegisterLockWaitMs))) {
        case RangeLock::Held:
            held_ = true;
            break;
        case RangeLock::Busy:
            throw busyError(path);
        case RangeLock::Unavailable:
            if (onlyGuard)
                throw ToolkitError::inputOutput(5);
            break;
        }
    }
    ~RangeHold() {
        if (held_)
            UnlockRegisterRange(file_);
    }
    RangeHold(const RangeHold&) = delete;
    RangeHold& operator=(const RangeHold&) = delete;

private:
    QFile& file_;
    bool held_ = false;
};

// Where the register is: the file as it was before this save, for a failed first write to
// return to.
struct Before {
    qint64 length = 0;
    QByteArray cutTail; // an end-of-file mark and what followed it, cut before appending
    bool newFile = false;
};

// Appends bytes at the register's end, syncs them and reads them back. A share whose client lets
// two programs hold the lock at once (one that does not honour exclusive creation) may have put
// another program's lines where these went: they are appended again at the new end, a few
// times, and then the save fails. Success means the lines are in the register.
qint64 writeAndReadBack(QFile& file, const QString& path, const QByteArray& bytes,
                        const Before& before, bool canReadBack) {
    for (int attempt = 0; attempt < kAppendTries; ++attempt) {
        const qint64 at = file.size();
        file.seek(at);
        if (file.write(bytes) != bytes.size() || !syncToDisk(file)) {
            // Cut back to what was there before, so that the next closing writes the visit
            // once and not twice. The lock is held: every byte past that length is this save's.
            if (attempt == 0 && before.newFile) {
                file.close();
                QFile::remove(path);
            } else {
                file.resize(attempt == 0 ? before.length : at);
                if (attempt == 0 && !before.cutTail.isEmpty()) {
                    file.seek(before.length);
                    file.write(before.cutTail);
                }
                syncToDisk(file);
            }
            throw ToolkitError::inputOutput(kDiskFull);
        }
        if (attempt == 0 && before.newFile) {
            // The new file's entry in its folder must be on the disk too.
            syncFolder(QFileInfo(path).absolutePath());
        }
        // A register that cannot be read takes lines but cannot show them again.
        if (!canReadBack)
            return at;
        if (readBackHook())
            readBackHook()(path, at);
        file.seek(at);
        if (file.read(bytes.size()) == bytes)
            return at;
    }
    throw concurrentError(path);
}

qint64 appendTo(const QString& path, const QByteArray& bytes, bool rangeLockOnly) {
    // Unbuffered: a failed write must not stay in a buffer and reach the file after the cut.
    QFile file;
    const FolderOpen opened =
        OpenInFolder(file, path, FolderAccess::ReadWrite, QIODevice::Unbuffered);
    if (opened == FolderOpen::Link)
        throw linkError(path);
    if (opened != FolderOpen::Opened) {
        // A register that cannot be read may still take lines; it is never replaced.
        if (OpenInFolder(file, path, FolderAccess::Append, QIODevice::Unbuffered) !=
            FolderOpen::Opened)
            throw ToolkitError::inputOutput(appendOpenErrorCode(path));
        const RangeHold range(file, path, rangeLockOnly);
        return writeAndReadBack(file, path, bytes, Before{file.size(), {}, false}, false);
    }
    const RangeHold range(file, path, rangeLockOnly);
    const qint64 length = file.size();
    const qint64 windowStart = std::max<qint64>(0, length - kEndOfFileWindow);
    file.seek(windowStart);
    const QByteArray tail = file.read(length - windowStart);
    const qsizetype mark = tail.indexOf(kEndOfFile);
    Before before{length, {}, false};
    if (mark >= 0) {
        before.length = windowStart + mark;
        before.cutTail = tail.mid(mark);
        if (!file.resize(before.length))
            throw ToolkitError::inputOutput(5);
    }
    return writeAndReadBack(file, path, bytes, before, true);
}

qint64 createNew(const QString& path, const QByteArray& bytes) {
    QFile file;
    const FolderOpen opened =
        OpenInFolder(file, path, FolderAccess::CreateNew, QIODevice::Unbuffered);
    if (opened != FolderOpen::Opened) {
        if (opened == FolderOpen::Link && QFileInfo::exists(path))
            throw linkError(path);
        // Someone made it between the test and the creation: it is a register now.
        if (QFileInfo::exists(path))
            return appendTo(path, bytes, false);
        throw ToolkitError::cannotCreateFile(path);
    }
    // The window may close only once the lines are on the disk, not in a cache; and the new
    // file's entry in its folder too. Before this save there was no register: a failure leaves
    // none.
    const RangeHold range(file, path, false);
    return writeAndReadBack(file, path, bytes, Before{0, {}, true}, true);
}

// The error of a save whose lock file could not be made (not merely busy): the one the
// register itself meets in that folder. Writing without the lock is no way out: it could
// overwrite a classmate's lines.
ToolkitError lockFailure(const QString& path) {
    QFile probe(RegisterLockPath(path));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
            return ToolkitError::inputOutput(5);
        return ToolkitError::cannotCreateFile(path);
    }
    // The folder takes files but not their bytes: it is full.
    const bool written = probe.write(QByteArray(64, ' ')) == 64 && syncToDisk(probe);
    probe.remove();
    return written ? ToolkitError::inputOutput(5) : ToolkitError::inputOutput(kDiskFull);
}

} // namespace

QByteArray RegisterBytes(const QStringList& lines, qsizetype from) {
    QByteArray bytes;
    for (qsizetype i = from; i < lines.size(); ++i) {
        bytes += stringToAnsi(lines[i]);
        bytes += "\r\n";
    }
    return bytes;
}

namespace {

// True when the register holds bytes at offset.
bool holdsAt(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile file(path);
    return openRegularFileForReading(file) && file.seek(offset) && file.read(bytes.size()) == bytes;
}

// Appends under the register's lock, taken anew while the lock was lost during the save: a
// program that took ours for stale may have let a third one write at the same time. Under a lock
// held from start to end the lines are checked again where they went, and written again if they
// are not there. False when the register held them skipIfHeld times already.
bool appendLocked(const QString& path, const QByteArray& bytes, int skipIfHeld) {
    // A visit saved alike more than once is there as often as it was saved.
    const auto held = [&] {
        return skipIfHeld > 0 && CountWholeVisitIn(path, bytes) >= skipIfHeld;
    };
    qint64 at = -1;
    for (int round = 0; round < kAppendTries; ++round) {
        QLockFile::LockError why = QLockFile::NoError;
        const std::unique_ptr<RegisterLock> lock = LockRegister(path, kRegisterLockWaitMs, &why);
        if (!lock) {
            if (why == QLockFile::LockFailedError)
                throw busyError(path);
            // A folder that takes no new files may still let its registers grow: the register's
            // own byte-range lock guards the save there.
            if (!QFileInfo(path).isFile())
                throw lockFailure(path);
            if (held())
                return false;
            appendTo(path, bytes, true);
            return true;
        }
        // Only a regular file can be a register. Opening a FIFO for the existence test would
        // wait for a writer and hang the program; a socket or a device is nobody's register.
        const QFileInfo info(path);
        if (info.exists() && !info.isFile())
            throw ToolkitError::inputOutput(5);
        if (at >= 0 ? holdsAt(path, at, bytes) : held()) {
            if (at < 0)
                return false;
        } else if (canBeRead(path) || QFileInfo::exists(path)) {
            // The existence test is an attempt to read; a file that is there but unreadable is
            // still someone's register and is appended to, never created afresh.
            at = appendTo(path, bytes, false);
        } else {
            at = createNew(path, bytes);
        }
        if (lock->stillInPlace())
            return true;
    }
    throw concurrentError(path);
}

} // namespace

QString AppendToRegister(const QString& path, const QByteArray& bytes, const QString& copyTag) {
    appendLocked(path, bytes, 0);
    // Only a visit reported saved leaves its copy: a failed save is tried again, or kept in the
    // journal, and a copy would show it twice.
    const QString copy = WriteVisitCopy(path, bytes, copyTag);
    if (!copy.isEmpty())
        RemoveSettledCopies(copy);
    return copy;
}

bool AppendToRegisterIfMissing(const QString& path, const QByteArray& bytes, int times) {
    return appendLocked(path, bytes, times);
}

void SetRegisterReadBackHook(std::function<void(const QString& path, qint64 offset)> hook) {
    readBackHook() = std::move(hook);
}

QString RegisterPathForSaving(const QString& folder, const QString& lesson) {
    return folder + RegisterFileName(lesson, DateDigits(Clock::shortDate(Clock::today())));
}

void GuardarRegistro() {
    const QString journal = VisitJournal::path();
    const QString copy = AppendToRegister(RegisterPathForSaving(DirLeccion, NombreLeccion),
                                          RegisterBytes(Registro->lines()),
                                          journal.isEmpty() ? QString() : VisitCopyTag(journal));
    // Until the visit's copy exists its journal is the only other trace of the visit.
    if (!copy.isEmpty() || journal.isEmpty())
        VisitJournal::finish();
    else
        VisitJournal::leave();
}
