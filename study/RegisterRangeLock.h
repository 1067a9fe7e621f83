#pragma once

#include <QDeadlineTimer>

class QFile;

// A byte-range lock on the register itself, for folders where no lock file can be made but the
// register can be written (a share that lets students append to files but not create them).
// Every program locks the same single byte, far past any register's end, so that the lock never
// stands in the way of a reader: Windows enforces byte-range locks on reads and writes. SMB and
// NFS clients pass these locks to the server, so they hold between machines too.
enum class RangeLock { Held, Busy, Unavailable };

// Takes the lock on the open file, trying again until deadline: Busy when another program held
// it all that time, Unavailable when the file system has no such locks.
RangeLock LockRegisterRange(QFile& file, QDeadlineTimer deadline);

// Gives it back; closing the file gives it back too.
void UnlockRegisterRange(QFile& file);
