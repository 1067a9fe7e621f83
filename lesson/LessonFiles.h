#pragma once

#include "ShortText.h"

#include <QString>

// The lesson the student chose: its folder (ending in its separator, or empty) and its name, and
// the student's name. They keep their values until the next lesson is chosen.
extern ShortText DirLeccion;
extern ShortText NombreLeccion;
extern ShortText NombreAlumno;

// Splits the chosen lesson text's path into DirLeccion and NombreLeccion: the folder ends at the
// last "\" or "/", the name at the last "_" of the bare file name.
void SepararRutaDeLeccion(const QString& path);

QString LessonTextPath();
QString KeyPath();
QString RegisterPath(const QString& dateDigits);
