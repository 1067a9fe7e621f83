#include "teacher/Problem.h"

#include "teacher/Words.h"

QString severityWord(Problem::Severity severity) {
    switch (severity) {
    case Problem::Severity::Error:
        return QStringLiteral("error");
    case Problem::Severity::Aviso:
        return QStringLiteral("aviso");
    case Problem::Severity::Nota:
        break;
    }
    return QStringLiteral("nota");
}

QString problemLine(const Problem& problem) {
    QString place = problem.file;
    if (problem.line > 0)
        place += u':' + QString::number(problem.line);
    return place + QStringLiteral(": ") + severityWord(problem.severity) + QStringLiteral(": ") +
           problem.text;
}

QString problemCounts(int errors, int warnings, int notes) {
    return Counted(errors, QStringLiteral("error"), QStringLiteral("errores")) +
           QStringLiteral(", ") +
           Counted(warnings, QStringLiteral("aviso"), QStringLiteral("avisos")) +
           QStringLiteral(", ") + Counted(notes, QStringLiteral("nota"), QStringLiteral("notas"));
}

QString problemCounts(int errors, int warnings, int notes, int pending) {
    QString counts = problemCounts(errors, warnings, notes);
    if (pending > 0)
        counts += QStringLiteral("; ") + Counted(pending, QStringLiteral("respuesta pendiente"),
                                                 QStringLiteral("respuestas pendientes"));
    return counts;
}
