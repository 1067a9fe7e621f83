#include "teacher/Words.h"

QString Counted(int n, const QString& one, const QString& many) {
    return QString::number(n) + u' ' + (n == 1 ? one : many);
}

QString CountedSentence(qsizetype n, const QString& one, const QString& many) {
    return n == 1 ? one : many.arg(n);
}
