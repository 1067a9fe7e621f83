#pragma once

#include <QByteArray>
#include <QString>

// Reads a whole register so that one being written by a student's save is read whole or not at
// all. Every save holds the register's lock (study/RegisterLock.h); while its file is there the
// register is read under that lock, and a lock not had within timeoutMs leaves the register
// unread. False, with a Spanish reason, then or when the file cannot be read.
bool readRegisterBytes(const QString& path, int timeoutMs, QByteArray& bytes, QString& failure);
