#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// The lock that every program takes before it touches a register, so that the programs of a
// whole class closing their lessons at the bell never write over each other's lines, and a reader
// never sees half a visit.
//
// Protocol, for every program that writes or reads a register:
// - the lock is a QLockFile named RegisterLockPath(register), that is the register's path with
//   ".lock" added ("El_volcan07122026_reg.csv.lock"), in the register's own folder;
// - take it with LockRegister() before measuring the register's end or reading it, and hold it
//   until the last byte is synced (and, after a failure, until the save's own bytes are cut
//   back); release it at once after: saves take milliseconds;
// - QLockFile recognizes the lock of a program on this machine that died, at once, and the lock
//   of a program on another machine of the share after kRegisterLockStaleMs without a change;
// - releasing the lock removes its file: nothing of it stays in the lesson folder.
// QLockFile works the same on Windows, Linux and macOS, on local folders and on SMB and NFS
// shares, because it relies only on creating a file exclusively.

// How long a save waits for a busy register before it gives up and tells the student.
constexpr int kRegisterLockWaitMs = 5000;
// A lock left unchanged this long by a program on another machine is taken for a dead one's.
constexpr int kRegisterLockStaleMs = 30000;

QString RegisterLockPath(const QString& registerPath);

// Takes the register's lock, trying again for at most timeoutMs. Returns the held lock, or null
// with *error saying why: QLockFile::LockFailedError when another program kept it all that time,
// another error when the lock file cannot be made there (a read-only or missing folder).
std::unique_ptr<QLockFile> LockRegister(const QString& registerPath,
                                        int timeoutMs = kRegisterLockWaitMs,
                                        QLockFile::LockError* error = nullptr);
