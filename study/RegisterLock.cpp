#include "RegisterLock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QThread>

#include <cstdlib>

namespace {

// A share that refuses to remove a file somebody holds open usually lets go within moments.
constexpr int kRemoveTries = 10;
constexpr int kRemovePauseMs = 20;

// What a released lock that could not be removed is dated: long before any stale time.
QDateTime releasedTime() {
    return QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
}

QByteArray newToken() {
    return QByteArray::number(QRandomGenerator::system()->generate64(), 16) + '-' +
           QByteArray::number(QCoreApplication::applicationPid());
}

QByteArray lockContents(const QByteArray& token) {
    return QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
           QCoreApplication::applicationName().toUtf8() + '\n' +
           QSysInfo::machineHostName().toUtf8() + '\n' + token + '\n';
}

bool isStale(const QDateTime& modified) {
    const qint64 age = modified.msecsTo(QDateTime::currentDateTimeUtc());
    // A time far in the future is as wrong as one far in the past: a clock that jumped must not
    // keep the lock forever.
    return std::abs(age) >= kRegisterLockStaleMs;
}

enum class Creation { Made, Exists, Failed };

Creation create(const QString& path, const QByteArray& token) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return QFileInfo::exists(path) ? Creation::Exists : Creation::Failed;
    const QByteArray contents = lockContents(token);
    const bool written = file.write(contents) == contents.size();
    file.close();
    if (!written) {
        // A full disk: a lock file nobody can read must not stay.
        QFile::remove(path);
        return Creation::Failed;
    }
    return Creation::Made;
}

} // namespace

QString RegisterLockPath(const QString& registerPath) {
    return registerPath + QStringLiteral(".lock");
}

RegisterLock::RegisterLock(QString path, QByteArray token)
    : path_(std::move(path)), token_(std::move(token)) {}

RegisterLock::~RegisterLock() {
    unlock();
}

bool RegisterLock::stillOurs() const {
    QFile file(path_);
    // One that cannot be read cannot show another program's token either.
    if (!file.open(QIODevice::ReadOnly))
        return true;
    return file.read(4096).split('\n').value(3) == token_;
}

void RegisterLock::unlock() {
    if (!held_)
        return;
    held_ = false;
    // Made again over ours by another program: it is that program's lock now.
    if (!stillOurs())
        return;
    for (int i = 0; i < kRemoveTries; ++i) {
        if (QFile::remove(path_) || !QFileInfo::exists(path_))
            return;
        QThread::msleep(kRemovePauseMs);
    }
    // Somebody keeps it open. Dated long ago, it is stale at once for the next program, which
    // removes it when it can, instead of waiting out the stale time.
    QFile file(path_);
    if (file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        file.setFileTime(releasedTime(), QFileDevice::FileModificationTime);
}

std::unique_ptr<RegisterLock> LockRegister(const QString& registerPath, int timeoutMs,
                                           QLockFile::LockError* error) {
    const QString path = RegisterLockPath(registerPath);
    const QDeadlineTimer deadline(timeoutMs);
    int refusals = 0;
    auto fail = [&](QLockFile::LockError why) {
        if (error)
            *error = why;
        return nullptr;
    };
    for (;;) {
        const QFileInfo seen(path);
        if (!seen.exists() && !seen.isSymLink()) {
            const QByteArray token = newToken();
            switch (create(path, token)) {
            case Creation::Made: {
                auto lock = std::make_unique<RegisterLock>(path, token);
                // A share that turns exclusive creation into "create or overwrite" may have let
                // another program make it at the same moment; the later one holds it.
                if (lock->stillOurs()) {
                    if (error)
                        *error = QLockFile::NoError;
                    return lock;
                }
                refusals = 0;
                break;
            }
            case Creation::Exists:
                refusals = 0;
                break;
            case Creation::Failed:
                // A refusal with no lock file may be of one that was there a moment ago.
                if (++refusals >= 3)
                    return fail(QLockFile::PermissionError);
                continue;
            }
        } else if (isStale(seen.lastModified())) {
            // Removed only if it is still the stale one: another program may have taken it over
            // and made a fresh one meanwhile.
            if (QFileInfo(path).lastModified() == seen.lastModified() && QFile::remove(path))
                continue;
        }
        if (deadline.hasExpired())
            return fail(QLockFile::LockFailedError);
        // Short pauses, jittered so that the waiting programs do not retry in step: a class of
        // thirty saves of a few milliseconds each is served faster than by doubling pauses.
        const int pause = 2 + int(QRandomGenerator::global()->bounded(8));
        QThread::msleep(std::min<qint64>(pause, std::max<qint64>(1, deadline.remainingTime())));
    }
}
