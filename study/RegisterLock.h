#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QString>

#include <memory>

// The lock that every program takes before it touches a register, so that the programs of a
// whole class closing their lessons at the bell never write over each other's lines, and a reader
// never sees half a visit.
//
// Protocol, for every program that writes or reads a register:
// - the lock is a file named RegisterLockPath(register), that is the register's path with ".lock"
//   added ("El_volcan07122026_reg.csv.lock"), in the register's own folder; whoever creates it
//   exclusively holds the lock. It holds the owner's process number, program, machine and a
//   random token, one per line, written once and closed at once: nobody keeps it open;
// - take it with LockRegister() before measuring the register's end or reading it, and hold it
//   until the last byte is synced and read back; release it at once after: saves take
//   milliseconds;
// - a waiting program never opens a lock file younger than kRegisterLockStaleMs: it is busy, as
//   its existence and its modification time say. On SMB shares and on Windows a file that
//   somebody holds open cannot be removed, so a class of programs that opened the lock file to
//   ask about it would stop its owner from ever releasing it;
// - a lock file whose modification time is kRegisterLockStaleMs or more away from now is stale
//   (its program died, or it was released but could not be removed) and is removed by the next
//   program that wants the lock;
// - releasing removes the file, trying again for a moment when the share refuses; if it still
//   stays, its owner sets its modification time far in the past, which marks it released: the
//   next program takes it over at once instead of waiting out the stale time.

// How long a save waits for a busy register before it gives up and tells the student.
constexpr int kRegisterLockWaitMs = 5000;
// A lock file this old (by its modification time) is a dead program's, or a released one.
constexpr int kRegisterLockStaleMs = 30000;

QString RegisterLockPath(const QString& registerPath);

// The pause before a waiting program looks again, having waited waitedMs.
int RegisterLockPauseMs(qint64 waitedMs);

// A held register lock; the destructor releases it.
class RegisterLock {
public:
    RegisterLock(QString path, QByteArray token);
    ~RegisterLock();
    RegisterLock(const RegisterLock&) = delete;
    RegisterLock& operator=(const RegisterLock&) = delete;

    // Removes the lock file, or marks it released when the share keeps it. Idempotent.
    void unlock();

    // True while the lock file is still the one this lock made: a share that does not honour
    // exclusive creation may have let another program make it again over ours.
    bool stillOurs() const;

private:
    QString path_;
    QByteArray token_;
    bool held_ = true;
};

// Takes the register's lock, trying again for at most timeoutMs. Returns the held lock, or null
// with *error saying why: QLockFile::LockFailedError when another program kept it all that time,
// another error when the lock file cannot be made there (a read-only or missing folder, or one
// that takes no new files).
std::unique_ptr<RegisterLock> LockRegister(const QString& registerPath,
                                           int timeoutMs = kRegisterLockWaitMs,
                                           QLockFile::LockError* error = nullptr);
