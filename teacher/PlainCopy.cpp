#include "teacher/PlainCopy.h"

#include "lesson/LessonFiles.h"
#include "lesson/PublishedKey.h"
#include "platform/core/ToolkitError.h"
#include "teacher/FilesTogether.h"
#include "teacher/Publication.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
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
    const QByteArray text = ReadWholeFile(readingPath);
    const QDir dir(target);
    const QString copy = dir.filePath(reading.fileName());
    const QString existing = FileByNameAnyCase(copy);
    // A reading of the same name is kept only when it is this one: another would be lost.
    const bool sameReading = QFileInfo::exists(existing) && ReadWholeFile(existing) == text;
    if (QFileInfo::exists(existing) && !sameReading)
        throw ToolkitError(QStringLiteral("En %1 ya hay otra lectura %2: elija otra carpeta")
                               .arg(native(target), QFileInfo(existing).fileName()));
    QList<std::pair<QString, QByteArray>> files = {{dir.filePath(KeyName(lesson)), key}};
    if (!sameReading)
        files.append({copy, text});
    WriteFilesTogether(files);
    return sameReading ? existing : copy;
}
