#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QLockFile>
#include <QString>

#include <functional>
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
// - a waiting program tries the exclusive creation again and again (a listing the client keeps
//   in its cache may show a lock that is gone) and never opens a lock file: on SMB shares and on
//   Windows a file that somebody holds open cannot be removed, so a class of programs that opened
//   the lock file to ask about it would stop its owner from ever releasing it;
// - a lock file is stale (its program died) only when this program has seen it unchanged (its
//   modification time, size and creation time as the share gives them) for kRegisterLockStaleMs
//   of its own monotonic clock. Its times are the server's, or another computer's, and are only
//   ever compared with themselves: computers in a lab disagree about the time;
// - a lock file dated exactly RegisterLockReleasedTime() was released by its owner, who could not
//   remove it: it is taken over at once;
// - taking over moves the lock file to a name of the taker's own, checks that what moved is the
//   very file judged stale or released, and only then removes it. What moved is otherwise another
//   program's fresh lock, which had taken the name meanwhile: it goes back, unless the name was
//   taken again, and that program finds at the end of its save that its lock went
//   (RegisterLock::stillInPlace) and makes sure of its lines under a new lock;
// - releasing moves the lock file aside and removes it in the same way, trying again for a moment
//   when the share refuses; if it still stays, its owner dates it RegisterLockReleasedTime().

// How long a save waits for a busy register before it gives up and tells the student.
constexpr int kRegisterLockWaitMs = 5000;
// A lock file seen unchanged this long, by this computer's monotonic clock, is a dead program's.
constexpr int kRegisterLockStaleMs = 30000;

QString RegisterLockPath(const QString& registerPath);

// The modification time that marks a lock file released: long before any lock was made.
QDateTime RegisterLockReleasedTime();

// For tests: the monotonic clock, in milliseconds, that watches lock files grow stale. Unset
// (an empty function) the program's own steady clock is used.
void SetRegisterLockClock(std::function<qint64()> clock);

// The pause before a waiting program looks again, having waited waitedMs.
int RegisterLockPauseMs(qint64 waitedMs);

// A lock file as the share shows it without opening it: its times are compared only with
// themselves, never with a clock.
struct RegisterLockSighting {
    bool exists = false;
    QDateTime modified;
    qint64 size = 0;
    QDateTime born;
    bool operator==(const RegisterLockSighting&) const = default;
    static RegisterLockSighting of(const QString& path);
};

// A held register lock; the destructor releases it.
class RegisterLock {
public:
    // The lock file at path, just made with token, as the share showed it then.
    RegisterLock(QString path, QByteArray token, RegisterLockSighting made);
    ~RegisterLock();
    RegisterLock(const RegisterLock&) = delete;
    RegisterLock& operator=(const RegisterLock&) = delete;

    // Removes the lock file, or marks it released when the share keeps it. Idempotent.
    void unlock();

    // True while the lock file is still the one this lock made: a share that does not honour
    // exclusive creation may have let another program make it again over ours. A lock file that
    // cannot be read counts as ours. Opens it: not for a moment before removing it.
    bool stillOurs() const;

    // True while the lock file is there and as this lock made it (looked at without opening it):
    // false also when it has gone, moved away by a program that took it for stale.
    bool stillInPlace() const;

private:
    QString path_;
    QByteArray token_;
    RegisterLockSighting made_;
    bool held_ = true;
};

// Takes the register's lock, trying again for at most timeoutMs. Returns the held lock, or null
// with *error saying why: QLockFile::LockFailedError when another program kept it all that time,
// another error when the lock file cannot be made there (a read-only or missing folder, or one
// that takes no new files).
std::unique_ptr<RegisterLock> LockRegister(const QString& registerPath,
                                           int timeoutMs = kRegisterLockWaitMs,
                                           QLockFile::LockError* error = nullptr);
