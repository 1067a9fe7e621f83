#pragma once

#include <QString>

// "1 alumno", "2 alumnos", "0 alumnos": a count with its noun in the right number.
QString Counted(int n, const QString& one, const QString& many);
// The sentence for n, the first for one thing and the second for any other number, "%1" in it
// replaced by n: ("1 pregunta exportada", "%1 preguntas exportadas").
QString CountedSentence(qsizetype n, const QString& one, const QString& many);
