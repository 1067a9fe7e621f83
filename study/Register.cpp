#include "Register.h"

#include "Ansi.h"
#include "Clock.h"
#include "DiskSync.h"
#include "Journal.h"
#include "LessonFiles.h"
#include "RegisterLock.h"
#include "RegularFile.h"
#include "ToolkitError.h"
#include "Visit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

void writeOrRollBack(QFile& file, const QByteArray& bytes, qint64 keepLength,
                     const QByteArray& restoreTail) {
    file.seek(file.size());
    if (file.write(bytes) == bytes.size() && syncToDisk(file))
        return;
    // Cut back to what was there before this save, so that the next closing writes the visit
    // once and not twice. The lock is held: every byte past keepLength is this save's own.
    file.resize(keepLength);
    if (!restoreTail.isEmpty()) {
        file.seek(keepLength);
        file.write(restoreTail);
    }
    syncToDisk(file);
    throw ToolkitError::inputOutput(kDiskFull);
}

void appendTo(const QString& path, const QByteArray& bytes) {
    // Unbuffered: a failed write must not stay in a buffer and reach the file after the cut.
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered)) {
        // A register that cannot be read may still take lines; it is never replaced.
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly |
                       QIODevice::Unbuffered))
            throw ToolkitError::inputOutput(appendOpenErrorCode(path));
        writeOrRollBack(file, bytes, file.size(), {});
        return;
    }
    const qint64 length = file.size();
    const qint64 windowStart = std::max<qint64>(0, length - kEndOfFileWindow);
    file.seek(windowStart);
    const QByteArray tail = file.read(length - windowStart);
    const qsizetype mark = tail.indexOf(kEndOfFile);
    qint64 keepLength = length;
    QByteArray cutTail;
    if (mark >= 0) {
        keepLength = windowStart + mark;
        cutTail = tail.mid(mark);
        if (!file.resize(keepLength))
            throw ToolkitError::inputOutput(5);
    }
    writeOrRollBack(file, bytes, keepLength, cutTail);
}

void createNew(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        // Someone made it between the test and the creation: it is a register now.
        if (QFileInfo::exists(path))
            return appendTo(path, bytes);
        throw ToolkitError::cannotCreateFile(path);
    }
    // The window may close only once the lines are on the disk, not in a cache; and the new
    // file's entry in its folder too.
    if (file.write(bytes) == bytes.size() && syncToDisk(file)) {
        syncFolder(QFileInfo(path).absolutePath());
        return;
    }
    // Before this save there was no register: leave none.
    file.remove();
    throw ToolkitError::inputOutput(kDiskFull);
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

void AppendToRegister(const QString& path, const QByteArray& bytes) {
    QLockFile::LockError why = QLockFile::NoError;
    const std::unique_ptr<QLockFile> lock = LockRegister(path, kRegisterLockWaitMs, &why);
    if (!lock) {
        if (why == QLockFile::LockFailedError)
            throw ToolkitError(
                QStringLiteral("El registro \"%1\" está ocupado por otro programa y no se ha "
                               "podido guardar. Inténtelo de nuevo dentro de unos segundos.")
                    .arg(path));
        throw lockFailure(path);
    }
    // Only a regular file can be a register. Opening a FIFO for the existence test would wait
    // for a writer and hang the program; a socket or a device is nobody's register either.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw ToolkitError::inputOutput(5);
    // The existence test is an attempt to read; a file that is there but unreadable is still
    // someone's register and is appended to, never created afresh.
    if (canBeRead(path) || QFileInfo::exists(path))
        appendTo(path, bytes);
    else
        createNew(path, bytes);
}

void GuardarRegistro() {
    AppendToRegister(RegisterPath(DateDigits(Clock::shortDate(Clock::today()))),
                     RegisterBytes(Registro->lines()));
    VisitJournal::finish();
}
