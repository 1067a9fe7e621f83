#pragma once

#include <QString>

#include <optional>

// The register's file name, both ways: the lesson's name, the date digits of the day it was
// saved, and the suffix. The student's program writes it; the teacher's program splits it back.

inline const QString kRegisterSuffix = QStringLiteral("_reg.csv");

// The digits that name the register of the day: the short date with its 6th character removed
// and then its 3rd ("07/12/2026" gives "07122026", "2026-12-07" gives "206-2-07"). Characters
// that cannot stand in a file name ("/", "\", ":" and the like, as other short date formats
// leave) are dropped too.
QString DateDigits(const QString& shortDate);

// lesson + dateDigits + "_reg.csv".
QString RegisterFileName(const QString& lesson, const QString& dateDigits);

// The file name without its suffix, matched in any letter case (as Windows sees names), and
// without the web page's id (WebRegisterId): what names the lesson and the day. Nothing when the
// name is not a register's.
std::optional<QString> RegisterStem(const QString& fileName);

// A register that the lesson's web page saved for one visit is named lesson + date digits +
// "_web-" + 8 lowercase hexadecimal digits chosen when the visit began + "_reg.csv", so that it
// never takes the place of the lab's register of the day. Its id (the 8 digits), or nothing for
// any other name.
std::optional<QString> WebRegisterId(const QString& fileName);

// The lesson of a register's stem written on the day whose short date gives dateDigits: the stem
// without those digits at its end; nothing when the stem does not end with them.
std::optional<QString> LessonBeforeDigits(const QString& stem, const QString& dateDigits);

// The date digits of a stem written for lesson: what follows the lesson's name; nothing when
// the stem does not begin with it.
std::optional<QString> DigitsAfterLesson(const QString& stem, const QString& lesson);
