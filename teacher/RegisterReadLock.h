#pragma once

#include <QByteArray>
#include <QString>

// Reads a whole register. Saves append whole lines in one write, each under the register's lock
// (study/RegisterLock.h). With no lock file there, or only one left on this computer by a save
// that was killed, the register is read at once (the complete lines) and nobody is waited for;
// while a lock that may be a running save's is there, the register is read under that lock, and a
// lock not had within timeoutMs leaves it unread. False, with a Spanish reason, then or when the
// file cannot be read (a link, a FIFO, one too large).
bool readRegisterBytes(const QString& path, int timeoutMs, QByteArray& bytes, QString& failure);
