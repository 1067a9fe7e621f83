#pragma once

#include "lesson/RegisterName.h" // DateDigits

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// The register's bytes for lines[from...]: Windows-1252, each line ended by CR LF.
QByteArray RegisterBytes(const QStringList& lines, qsizetype from = 0);

// Appends bytes (whole register lines) to the register at path, creating it when it is not there,
// under the register's lock (RegisterLock.h), or, in a folder where no lock file can be made, under
// the register's byte-range lock (RegisterRangeLock.h); a 0x1A mark near its end is cut first.
// Synced to the disk and read back before it returns. Throws ToolkitError on failure, leaving the
// register as it was: a register that another program holds for longer than kRegisterLockWaitMs
// gives a Spanish message that names it. A sealed copy of the bytes is left beside the register
// (VisitCopy.h, named by copyTag when given) once the save has succeeded: its path, or empty when
// the folder took no copy.
QString AppendToRegister(const QString& path, const QByteArray& bytes, const QString& copyTag = {});

// Appends a visit's bytes as AppendToRegister does, without leaving a copy, unless the register
// holds that visit, whole, times times already (looked at under the lock); false then.
bool AppendToRegisterIfMissing(const QString& path, const QByteArray& bytes, int times = 1);

// The register a visit of lesson in folder (ending in its separator, or empty) is saved to: the
// one of the day of saving, as the clock says now. A visit that runs past midnight goes to the
// next day's register, with its opening day in its visit line; one saved from its journal after
// a crash goes, like any save, to the register of the day it is saved.
QString RegisterPathForSaving(const QString& folder, const QString& lesson);

// Writes the visit's lines to the register of the day, creating it or appending to it, and
// flushes them to the disk. Throws ToolkitError on failure, leaving the register as it was
// before the save. A saved visit's journal is removed once its copy is there: without the copy it
// stays, and the next start finds its visit in the register and offers nothing.
void GuardarRegistro();

// For tests: called after every append is synced and before it is read back, with the register's
// path and where the bytes went, so that a test can play another program writing there. Unset
// (an empty function) in the programs.
void SetRegisterReadBackHook(std::function<void(const QString& path, qint64 offset)> hook);
