#include "PlainCopy.h"

#include "LessonFiles.h"
#include "Publication.h"
#include "PublishedKey.h"
#include "RegularFile.h"
#include "ToolkitError.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <memory>

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    QByteArray bytes;
    if (openRegularFileForReading(file))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError)
        throw ToolkitError(QStringLiteral("No se puede leer %1").arg(native(path)));
    return bytes;
}

ToolkitError cannotWrite(const QSaveFile& file) {
    return ToolkitError(QStringLiteral("No se puede escribir %1: %2")
                            .arg(native(file.fileName()), file.errorString()));
}

std::unique_ptr<QSaveFile> prepare(const QString& path, const QByteArray& bytes) {
    auto file = std::make_unique<QSaveFile>(path);
    if (!file->open(QIODevice::WriteOnly) || file->write(bytes) != bytes.size())
        throw cannotWrite(*file);
    return file;
}

} // namespace

QString savePlainCopy(const QString& readingPath, const QString& publishedKey,
                      const QString& folder) {
    const QFileInfo reading(readingPath);
    const QString lesson = LessonNameOf(reading.fileName());
    const QString target = QDir(folder).canonicalPath();
    if (folder.isEmpty() || target.isEmpty() || !QFileInfo(target).isDir())
        throw ToolkitError(QStringLiteral("La carpeta %1 no existe").arg(native(folder)));
    if (target == QDir(reading.path()).canonicalPath())
        throw ToolkitError(
            QStringLiteral("La carpeta %1 es la de la lección publicada: su clave sin proteger "
                           "quedaría al alcance de los alumnos. Elija otra carpeta")
                .arg(native(target)));
    const QStringList keys = plainKeysIn(target, lesson);
    if (!keys.isEmpty())
        throw ToolkitError(QStringLiteral("En %1 ya hay una clave %2: ábrala con «Abrir "
                                          "lección…» o elija otra carpeta")
                               .arg(native(target), QFileInfo(keys.first()).fileName()));

    const QByteArray key = ReadPublishedKey(publishedKey);
    const QByteArray text = readBytes(readingPath);
    const QDir dir(target);
    const QString copy = dir.filePath(reading.fileName());
    const QString existing = FileByNameAnyCase(copy);
    // A reading of the same name is kept only when it is this one: another would be lost.
    const bool sameReading = QFileInfo::exists(existing) && readBytes(existing) == text;
    if (QFileInfo::exists(existing) && !sameReading)
        throw ToolkitError(QStringLiteral("En %1 ya hay otra lectura %2: elija otra carpeta")
                               .arg(native(target), QFileInfo(existing).fileName()));
    const auto keyFile = prepare(dir.filePath(KeyName(lesson)), key);
    std::unique_ptr<QSaveFile> textFile;
    if (!sameReading)
        textFile = prepare(copy, text);
    if (!keyFile->commit())
        throw cannotWrite(*keyFile);
    if (textFile && !textFile->commit())
        throw cannotWrite(*textFile);
    return sameReading ? existing : copy;
}
