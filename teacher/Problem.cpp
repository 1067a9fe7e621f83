#include "Problem.h"

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

namespace {

QString counted(int n, const QString& one, const QString& many) {
    return QString::number(n) + u' ' + (n == 1 ? one : many);
}

} // namespace

QString problemCounts(int errors, int warnings, int notes) {
    return counted(errors, QStringLiteral("error"), QStringLiteral("errores")) +
           QStringLiteral(", ") +
           counted(warnings, QStringLiteral("aviso"), QStringLiteral("avisos")) +
           QStringLiteral(", ") + counted(notes, QStringLiteral("nota"), QStringLiteral("notas"));
}
