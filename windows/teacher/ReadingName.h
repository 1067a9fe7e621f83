#pragma once

#include <QString>

// A reading chosen under a name its lesson cannot open ("El_huerto.rtf", when there is no
// "El_lec.rtf"): the teacher is told
// that a reading must be named NOMBRE_lec.rtf and offered to rename it. True, with path the
// reading's path as it now is, when the lesson can go on; false when the teacher declines or the
// file cannot be renamed (said in a box).
bool OfferProperReadingName(const QString& caption, QString& path);
