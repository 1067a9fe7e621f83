#pragma once

#include <QByteArray>
#include <QString>

// A visit copy's seal: a keyed digest (HMAC-SHA256, under a key the student's program carries)
// over the register's file name and the visit's bytes, on a last line of the copy of its own.
// The teacher's program vouches only for sealed copies, so that a file written by hand into the
// class folder is never taken for a save. Whoever takes the program apart can find the key and
// seal anything; the seal stops hand-made files, not that.

// The largest copy read: a visit is some kilobytes; a bigger file is refused unread.
constexpr qint64 kLargestVisitCopy = 1024 * 1024;

// The copy's bytes for a visit of the register named registerName (its file name only, so that
// the seal holds wherever the folder is mounted).
QByteArray SealVisit(const QString& registerName, const QByteArray& visit);

// The visit a sealed copy holds, or empty when the seal is missing or does not match.
QByteArray SealedVisit(const QString& registerName, const QByteArray& copy);
