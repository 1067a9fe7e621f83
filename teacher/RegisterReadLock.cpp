#include "teacher/RegisterReadLock.h"

#include "platform/core/RegularFile.h"
#include "study/RegisterLock.h"

#include <QDateTime>
#include <QFileInfo>

namespace {

// A class's register of a day is some kilobytes; one far larger is not read, so that a stray
// huge file cannot exhaust the teacher's memory (its lines would be held while summarized).
constexpr qint64 kLargestRegister = 64 * 1024 * 1024;

bool readAll(const QString& path, QByteArray& bytes, QString& failure) {
    return ReadRegularFile(path, bytes, failure, kLargestRegister);
}

const QString kBeingWritten =
    QStringLiteral("un alumno lo está guardando ahora; no se ha leído (vuelva a leer la carpeta)");

enum class Reading { Whole, Failed, Disturbed };

// With no save under way, read and then make sure that none began or ended meanwhile: a save
// that appends changes the size, one that is cut back changes the time. This writes nothing into
// the teacher's folder and costs no disk sync per register.
Reading readBetweenSaves(const QString& path, QByteArray& bytes, QString& failure) {
    const QString lockPath = RegisterLockPath(path);
    if (QFileInfo::exists(lockPath))
        return Reading::Disturbed;
    const QDateTime modified = QFileInfo(path).lastModified();
    if (!readAll(path, bytes, failure))
        return Reading::Failed;
    const QFileInfo after(path);
    if (QFileInfo::exists(lockPath) || after.size() != bytes.size() ||
        after.lastModified() != modified)
        return Reading::Disturbed;
    return Reading::Whole;
}

} // namespace

bool readRegisterBytes(const QString& path, int timeoutMs, QByteArray& bytes, QString& failure) {
    switch (readBetweenSaves(path, bytes, failure)) {
    case Reading::Whole:
        return true;
    case Reading::Failed:
        return false;
    case Reading::Disturbed:
        break;
    }
    // A save is under way: wait for it under its lock (a dead program's lock is taken over).
    QLockFile::LockError error = QLockFile::NoError;
    if (const auto lock = LockRegister(path, timeoutMs, &error))
        return readAll(path, bytes, failure);
    // Where no lock can be made (a share the teacher may only read), the save is over once its
    // lock has gone.
    if (error != QLockFile::LockFailedError) {
        const Reading again = readBetweenSaves(path, bytes, failure);
        if (again != Reading::Disturbed)
            return again == Reading::Whole;
    }
    failure = kBeingWritten;
    return false;
}
