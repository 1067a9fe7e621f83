#pragma once

#include "lesson/LessonPlace.h"
#include "platform/core/ShortText.h"

#include <QString>

// The lesson's file names, formed exactly so, letter case included.
inline const QString kLessonTextSuffix = QStringLiteral("_lec.rtf");
inline const QString kKeySuffix = QStringLiteral("_CRJ.TXT");

// The chosen lesson text's path, cut to 255 characters, split: the folder ends at the last "\"
// or "/", the name at the last "_" of the bare file name.
LessonPlace SplitLessonPath(const QString& path);
// The lesson name of a file name of the lesson: up to, not including, its last "_"; empty when
// it has no "_" or begins with it.
QString LessonNameOf(const QString& fileName);

// The program documents that the student's program shows in its start window, read from the
// folder it works in.
inline const QString kIntroductionName = QStringLiteral("dorvalia_intro.rtf");
inline const QString kInstructionsName = QStringLiteral("dorvalia_instrucciones.rtf");

QString LessonTextName(const QString& lesson);
QString KeyName(const QString& lesson);

// The name a reading chosen as fileName must take for its lesson to open: "El_huerto_lec.rtf"
// for "El_huerto.rtf" (whose lesson would otherwise be «El», looked for in "El_lec.rtf");
// empty when fileName already ends in "_lec.rtf" or is no ".rtf" file.
QString ProperLessonTextName(const QString& fileName);

// The path itself when a file has it; otherwise a file of the same folder whose name differs only
// in letter case, as Windows opens it (the first in name order when several do); otherwise the
// path itself.
QString FileByNameAnyCase(const QString& path);

// The lesson the student chose: its folder (ending in its separator, or empty) and its name, and
// the student's name. They keep their values until the next lesson is chosen.
extern ShortText DirLeccion;
extern ShortText NombreLeccion;
extern ShortText NombreAlumno;

// Splits the chosen lesson text's path into DirLeccion and NombreLeccion (SplitLessonPath).
void SepararRutaDeLeccion(const QString& path);

QString LessonTextPath();
QString KeyPath();
QString RegisterPath(const QString& dateDigits);
