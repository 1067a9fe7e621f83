#include "lesson/LessonPlace.h"

#include "lesson/LessonFiles.h"
#include "lesson/PublishedKey.h"
#include "lesson/RegisterName.h"

LessonPlace LessonPlace::ofReading(const QString& readingPath) {
    return SplitLessonPath(readingPath);
}

QString LessonPlace::readingPath() const {
    return folder + LessonTextName(name);
}

QString LessonPlace::keyPath() const {
    return folder + KeyName(name);
}

QString LessonPlace::publishedKeyPath() const {
    return folder + PublishedKeyName(name);
}

QString LessonPlace::keyToRead() const {
    return KeyFileToRead(keyPath());
}

QStringList LessonPlace::keyNamesInOrder() const {
    return {KeyName(name), PublishedKeyName(name)};
}

QString LessonPlace::registerPath(const QString& dateDigits) const {
    return folder + RegisterFileName(name, dateDigits);
}

QString LessonPlace::beside(const QString& fileName) const {
    return folder + fileName;
}
