#pragma once

#include <QString>

// The two renames that a lock file needs, the same on every system: QFile::rename may fall back
// to copying, which a lock must never do.

// Moves the file at from to to, a name only the caller uses. False when from is not there (any
// more) or the system refuses, as a share does for a file somebody holds open.
bool MoveToOwnName(const QString& from, const QString& to);

// Moves the file at from to to only while no file has that name, in one step where the system
// has one (renameat2 with RENAME_NOREPLACE, renamex_np with RENAME_EXCL, MoveFileEx without
// MOVEFILE_REPLACE_EXISTING), else by a hard link. False when to is taken or the move fails.
bool MoveIfFree(const QString& from, const QString& to);
