#include "RegisterReadLock.h"

#include "RegularFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace {

bool readAll(const QString& path, QByteArray& bytes, QString& failure) {
    QFile file(path);
    if (!openRegularFileForReading(file)) {
        failure = QStringLiteral("no se puede abrir el archivo");
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFile::NoError) {
        failure = QStringLiteral("no se puede leer el archivo");
        return false;
    }
    return true;
}

const QString kBeingWritten =
    QStringLiteral("un alumno lo está guardando ahora; no se ha leído (vuelva a leer la carpeta)");

} // namespace

bool readRegisterBytes(const QString& path, int timeoutMs, QByteArray& bytes, QString& failure) {
    const QString lockPath = path + QStringLiteral(".lock");
    // With no save under way, read and then make sure that none began or ended meanwhile: a save
    // that appends changes the size, one that is cut back changes the time. This writes nothing
    // into the teacher's folder and costs no disk sync per register.
    if (!QFileInfo::exists(lockPath)) {
        const QDateTime modified = QFileInfo(path).lastModified();
        if (!readAll(path, bytes, failure))
            return false;
        const QFileInfo after(path);
        if (!QFileInfo::exists(lockPath) && after.size() == bytes.size() &&
            after.lastModified() == modified)
            return true;
    }
    // A save is under way: wait for it under its lock (a dead program's lock is taken over).
    QLockFile lock(lockPath);
    if (lock.tryLock(timeoutMs))
        return readAll(path, bytes, failure);
    failure = kBeingWritten;
    return false;
}
