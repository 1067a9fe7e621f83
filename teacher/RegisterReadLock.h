#pragma once

#include <QByteArray>
#include <QString>

// Reads a whole register under the lock that every student's save holds beside it
// ("<register>.lock", a QLockFile), so that a register being written is read whole or not at
// all. False, with a Spanish reason, when the lock is not had within timeoutMs or the file
// cannot be read. In a folder where no lock can be made (read-only), the file is read without
// it and kept only if no save began or ended meanwhile.
bool readRegisterBytes(const QString& path, int timeoutMs, QByteArray& bytes, QString& failure);
