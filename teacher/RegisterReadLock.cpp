#include "teacher/RegisterReadLock.h"

#include "platform/core/RegularFile.h"
#include "study/RegisterLock.h"

#include <QFileInfo>
#include <QSysInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#endif

namespace {

// A class's register of a day is some kilobytes; one far larger is not read, so that a stray
// huge file cannot exhaust the teacher's memory (its lines would be held while summarized).
constexpr qint64 kLargestRegister = 64 * 1024 * 1024;

bool readAll(const QString& path, QByteArray& bytes, QString& failure) {
    return ReadRegularFile(path, bytes, failure, kLargestRegister);
}

const QString kBeingWritten =
    QStringLiteral("un alumno lo está guardando ahora; no se ha leído (vuelva a leer la carpeta)");

bool processRunning(qint64 pid) {
#ifdef Q_OS_WIN
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
#else
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#endif
}

// A lock file naming this computer and a process that is no longer running was left by a save
// that was killed: nobody is writing the register. (One from another computer cannot be told.)
bool leftByKilledSave(const QString& lockPath) {
    QByteArray bytes;
    QString reason;
    if (!ReadRegularFile(lockPath, bytes, reason, 4096))
        return false;
    const QList<QByteArray> lines = bytes.split('\n');
    bool number = false;
    const qint64 pid = lines.value(0).toLongLong(&number);
    return number && pid > 0 && lines.size() > 2 &&
           QString::fromUtf8(lines[2]) == QSysInfo::machineHostName() && !processRunning(pid);
}

// The complete lines: a last line without its line break is left for the next reading.
void keepCompleteLines(QByteArray& bytes) {
    bytes.truncate(bytes.lastIndexOf('\n') + 1);
}

} // namespace

bool readRegisterBytes(const QString& path, int timeoutMs, QByteArray& bytes, QString& failure) {
    if (!readAll(path, bytes, failure))
        return false;
    const QString lockPath = RegisterLockPath(path);
    if (!QFileInfo::exists(lockPath)) {
        // A save that began and ended while this read may have left half its lines in what was
        // read: read again once the register no longer grows.
        if (!bytes.isEmpty() && !bytes.endsWith('\n') && QFileInfo(path).size() != bytes.size())
            return readAll(path, bytes, failure);
        return true;
    }
    // Saves append whole lines: a killed one's lock is no save under way. The teacher is not
    // kept waiting for it, nor told that a student is saving.
    if (leftByKilledSave(lockPath)) {
        keepCompleteLines(bytes);
        return true;
    }
    // A save may be under way: wait for it under its lock (a dead program's lock is taken over).
    QLockFile::LockError error = QLockFile::NoError;
    if (const auto lock = LockRegister(path, timeoutMs, &error))
        return readAll(path, bytes, failure);
    if (error == QLockFile::LockFailedError) {
        bytes.clear();
        failure = kBeingWritten;
        return false;
    }
    // Where no lock can be made (a share the teacher may only read): the complete lines.
    keepCompleteLines(bytes);
    return true;
}
