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
    QLockFile lock(lockPath);
    if (lock.tryLock(timeoutMs))
        return readAll(path, bytes, failure);
    if (lock.error() == QLockFile::LockFailedError) {
        failure = kBeingWritten;
        return false;
    }
    // No lock can be made here: a save that appends changes the size, one that is cut back
    // changes the time.
    if (QFileInfo::exists(lockPath)) {
        failure = kBeingWritten;
        return false;
    }
    const QDateTime modified = QFileInfo(path).lastModified();
    if (!readAll(path, bytes, failure))
        return false;
    const QFileInfo after(path);
    if (QFileInfo::exists(lockPath) || after.size() != bytes.size() ||
        after.lastModified() != modified) {
        failure = kBeingWritten;
        return false;
    }
    return true;
}
