#pragma once

#include <QString>

// The file of the folder whose name is nearest to `wanted`, for a teacher who mistyped it: one
// that differs in at most two letters (letter case aside), or that begins with the wanted name
// ("El_faro_CRJ.TXT.txt"). Lesson texts, registers and other lessons' files do not count. Empty
// when there is none.
QString nearestFileName(const QString& folder, const QString& wanted, const QString& lesson);

// Letters to add, remove or change to turn a into b, letter case aside.
int editDistance(const QString& a, const QString& b);
