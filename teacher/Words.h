#pragma once

#include <QString>

// "1 alumno", "2 alumnos", "0 alumnos": a count with its noun in the right number.
QString Counted(int n, const QString& one, const QString& many);
