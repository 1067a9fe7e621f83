#pragma once

#include <QString>
#include <QStringList>

// A lesson's folder (ending in its separator, or empty) and its name, and the names of the files
// the student's program finds there: the same rules as the student's program-wide names, as a
// value that any number of lessons can hold at once.
struct LessonPlace {
    QString folder;
    QString name;

    // The lesson of a chosen reading's path, split as the student's program splits it.
    static LessonPlace ofReading(const QString& readingPath);

    QString readingPath() const;
    // The plain key as the lesson names it, letter case included.
    QString keyPath() const;
    QString publishedKeyPath() const;
    // The key file the student's program reads: the plain key in any letter case, else the
    // published key, else keyPath() (whose opening then fails).
    QString keyToRead() const;
    // The key names the student's program tries, in its order: the plain key, the published key.
    QStringList keyNamesInOrder() const;
    QString registerPath(const QString& dateDigits) const;
    // A file beside the lesson's files, by its bare name.
    QString beside(const QString& fileName) const;

    bool operator==(const LessonPlace&) const = default;
};
