#include "lesson/OnePublication.h"

#include "platform/core/RegularFile.h"
#include "platform/core/ToolkitError.h"

#include <QDir>

namespace {

// A reading larger than the student's program opens is no reading of a lesson.
constexpr qint64 kLargestReading = 64 * 1024 * 1024;

} // namespace

QByteArray ReadingDigestAt(const QString& path) {
    QByteArray bytes;
    QString reason;
    if (!ReadRegularFile(path, bytes, reason, kLargestReading))
        return QByteArray();
    return ReadingDigest(bytes);
}

bool ReadingFitsKey(const QByteArray& readingDigest, const SealedKey& key) {
    return key.readingDigest.isEmpty() || readingDigest == key.readingDigest;
}

bool PublicationsMismatched(const QString& readingPath, const QString& keyFile) {
    if (!IsPublishedKey(keyFile))
        return false;
    SealedKey key;
    try {
        key = ReadSealedKey(keyFile);
    } catch (const ToolkitError&) {
        return false; // its own reading reports it
    }
    const QByteArray reading = ReadingDigestAt(readingPath);
    return !reading.isEmpty() && !ReadingFitsKey(reading, key);
}

QString MismatchedPublication(const QString& readingPath, const QString& keyPath) {
    return QStringLiteral("la lectura %1 no es la que se publicó con la clave %2: son de dos "
                          "publicaciones distintas (una publicación se cortó o se hicieron dos a "
                          "la vez). Vuelva a publicar la lección")
        .arg(QDir::toNativeSeparators(readingPath), QDir::toNativeSeparators(keyPath));
}
