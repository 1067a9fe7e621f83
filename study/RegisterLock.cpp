#include "RegisterLock.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>

namespace {
constexpr int kStaleCheckMs = 250;
} // namespace

QString RegisterLockPath(const QString& registerPath) {
    return registerPath + QStringLiteral(".lock");
}

std::unique_ptr<QLockFile> LockRegister(const QString& registerPath, int timeoutMs,
                                        QLockFile::LockError* error) {
    const QString path = RegisterLockPath(registerPath);
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(kRegisterLockStaleMs);
    const QDeadlineTimer deadline(timeoutMs);
    QDeadlineTimer nextStaleCheck(0);
    int refusals = 0;
    for (;;) {
        // A lock that is there is asked whether it is stale (which opens and reads it) only now
        // and then: on some shares a file that is open while its owner removes it stays behind
        // under a hidden name.
        if (!QFileInfo::exists(path) || nextStaleCheck.hasExpired()) {
            if (lock->tryLock(0))
                break;
            nextStaleCheck.setRemainingTime(kStaleCheckMs);
            // Some shares (SFTP among them) refuse the exclusive creation of a file that is there
            // as they refuse any other: a lock file that exists is a busy lock, whatever the error.
            const bool busy =
                lock->error() == QLockFile::LockFailedError || QFileInfo::exists(path);
            // A refusal with no lock file may be of one that was there a moment ago: try again.
            refusals = busy ? 0 : refusals + 1;
            if (refusals >= 3) {
                if (error)
                    *error = lock->error();
                return nullptr;
            }
            if (!busy)
                continue;
        }
        if (deadline.hasExpired()) {
            if (error)
                *error = QLockFile::LockFailedError;
            return nullptr;
        }
        // QLockFile's own waiting doubles its pause up to seconds; a class of thirty saves of a
        // few milliseconds each is served faster by short pauses, jittered so that the waiting
        // programs do not retry in step.
        const int pause = 2 + int(QRandomGenerator::global()->bounded(8));
        QThread::msleep(std::min<qint64>(pause, std::max<qint64>(1, deadline.remainingTime())));
    }
    if (error)
        *error = QLockFile::NoError;
    return lock;
}
