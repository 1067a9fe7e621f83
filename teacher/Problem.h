#pragma once

#include <QString>

// One thing found in a lesson before the class: how bad it is, where it is and what it is, in
// Spanish for the teacher.
struct Problem {
    enum class Severity {
        Error, // a student will see something wrong or cannot finish
        Aviso, // probably a mistake
        Nota,  // allowed, maybe intended
    };

    Severity severity = Severity::Error;
    QString file; // the key's or the text's path
    // The key's line counted from 1, or the text's display line as the lesson window shows it,
    // counted from 1; 0 when the problem is the whole file's.
    int line = 0;
    QString text;
};

// "error", "aviso" or "nota".
QString severityWord(Problem::Severity severity);

// "FILE:LINE: severity: text", or "FILE: severity: text" for a whole file.
QString problemLine(const Problem& problem);

// "2 errores, 1 aviso, 0 notas".
QString problemCounts(int errors, int warnings, int notes);
// "2 errores, 1 aviso, 0 notas; 3 respuestas pendientes", the last part only when some are.
QString problemCounts(int errors, int warnings, int notes, int pending);
