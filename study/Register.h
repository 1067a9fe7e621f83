#pragma once

#include <QString>

// The digits that name the register of the day: the short date with its 6th character removed
// and then its 3rd ("07/12/2026" gives "07122026"). Characters that cannot stand in a file name
// ("/", "\", ":" and the like, as other short date formats leave) are dropped too.
QString DateDigits(const QString& shortDate);

// Writes the visit's lines to the register of the day, creating it or appending to it, and
// flushes them to the disk. Throws ToolkitError on failure, leaving the register as it was
// before the save.
void GuardarRegistro();
