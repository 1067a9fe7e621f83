#include "teacher/NearestFile.h"

#include "lesson/LessonFiles.h"

#include <QDir>
#include <QSet>

#include <algorithm>
#include <vector>

int editDistance(const QString& a, const QString& b) {
    const QString x = a.toCaseFolded(), y = b.toCaseFolded();
    std::vector<int> row(y.size() + 1);
    for (qsizetype j = 0; j <= y.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 1; i <= x.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= y.size(); ++j) {
            const int above = row[j];
            row[j] = std::min(
                {row[j] + 1, row[j - 1] + 1, diagonal + (x.at(i - 1) == y.at(j - 1) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[y.size()];
}

QString nearestFileName(const QString& folder, const QString& wanted, const QString& lesson) {
    const QStringList names =
        QDir(folder.isEmpty() ? QStringLiteral(".") : folder).entryList(QDir::Files, QDir::Name);
    // Lessons that have their own text here: their keys are theirs, not a slip for this one.
    QSet<QString> lessons;
    for (const QString& name : names) {
        if (name.endsWith(kLessonTextSuffix, Qt::CaseInsensitive))
            lessons.insert(LessonNameOf(name).toCaseFolded());
    }
    QString nearest;
    int best = 3;
    for (const QString& name : names) {
        if (name.endsWith(kLessonTextSuffix, Qt::CaseInsensitive) ||
            name.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
            continue;
        const QString owner = LessonNameOf(name).toCaseFolded();
        if (owner != lesson.toCaseFolded() && lessons.contains(owner))
            continue;
        const int distance =
            name.startsWith(wanted, Qt::CaseInsensitive) ? 0 : editDistance(name, wanted);
        if (distance < best) {
            best = distance;
            nearest = name;
        }
    }
    return nearest;
}
