#include "RegisterLock.h"

#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QThread>

QString RegisterLockPath(const QString& registerPath) {
    return registerPath + QStringLiteral(".lock");
}

std::unique_ptr<QLockFile> LockRegister(const QString& registerPath, int timeoutMs,
                                        QLockFile::LockError* error) {
    auto lock = std::make_unique<QLockFile>(RegisterLockPath(registerPath));
    lock->setStaleLockTime(kRegisterLockStaleMs);
    const QDeadlineTimer deadline(timeoutMs);
    // QLockFile's own waiting doubles its pause up to seconds; a class of thirty saves of a few
    // milliseconds each is served faster by short pauses, jittered so that the waiting programs
    // do not retry in step.
    while (!lock->tryLock(0)) {
        if (lock->error() != QLockFile::LockFailedError || deadline.hasExpired()) {
            if (error)
                *error = lock->error();
            return nullptr;
        }
        const int pause = 2 + int(QRandomGenerator::global()->bounded(8));
        QThread::msleep(std::min<qint64>(pause, std::max<qint64>(1, deadline.remainingTime())));
    }
    if (error)
        *error = QLockFile::NoError;
    return lock;
}
