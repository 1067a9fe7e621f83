#include "Publication.h"

#include "LessonFiles.h"
#include "PublishedKey.h"
#include "RegularFile.h"
#include "ToolkitError.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <memory>

namespace {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    QByteArray bytes;
    if (openRegularFileForReading(file))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError)
        throw ToolkitError(
            QStringLiteral("No se puede leer %1").arg(QDir::toNativeSeparators(path)));
    return bytes;
}

QString canonicalFolder(const QString& folder) {
    return QDir(folder.isEmpty() ? QStringLiteral(".") : folder).canonicalPath();
}

ToolkitError cannotWrite(const QSaveFile& file) {
    return ToolkitError(QStringLiteral("No se puede escribir %1: %2")
                            .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
}

// Writes the bytes beside the file, to be put in its place by commit().
std::unique_ptr<QSaveFile> prepare(const QString& path, const QByteArray& bytes) {
    auto file = std::make_unique<QSaveFile>(path);
    if (!file->open(QIODevice::WriteOnly) || file->write(bytes) != bytes.size())
        throw cannotWrite(*file);
    return file;
}

} // namespace

QStringList plainKeysIn(const QString& folder, const QString& lesson) {
    const QString name = KeyName(lesson);
    QStringList found;
    const QDir dir(folder);
    for (const QString& entry :
         dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            found.append(dir.filePath(entry));
    }
    return found;
}

Publication publishLesson(const LessonReport& report, const QString& classFolder) {
    if (report.unreadable)
        throw ToolkitError(QStringLiteral("La lección %1 no se puede leer: no se publica")
                               .arg(QDir::toNativeSeparators(report.textPath)));
    const QFileInfo text(report.textPath);
    const QString lesson = LessonNameOf(text.fileName());
    const QString folder = canonicalFolder(classFolder);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        throw ToolkitError(QStringLiteral("La carpeta de la clase %1 no existe")
                               .arg(QDir::toNativeSeparators(classFolder)));
    // The plain key beside the reading would be read before the published one.
    if (!IsPublishedKey(report.keyPath) && folder == canonicalFolder(text.path()))
        throw ToolkitError(
            QStringLiteral("La carpeta de la clase es la misma de la lección, %1, y su clave sin "
                           "proteger quedaría al alcance de los alumnos: elija otra carpeta")
                .arg(QDir::toNativeSeparators(folder)));

    const QByteArray reading = readBytes(report.textPath);
    const QByteArray plainKey = IsPublishedKey(report.keyPath) ? ReadPublishedKey(report.keyPath)
                                                               : readBytes(report.keyPath);
    const QDir target(folder);
    Publication done;
    done.textPath = target.filePath(text.fileName());
    done.keyPath = target.filePath(PublishedKeyName(lesson));
    // Both are written in full before either takes its place.
    const auto keyFile = prepare(done.keyPath, SealKey(plainKey));
    const auto textFile = prepare(done.textPath, reading);
    if (!keyFile->commit())
        throw cannotWrite(*keyFile);
    if (!textFile->commit())
        throw cannotWrite(*textFile);
    done.plainKeys = plainKeysIn(folder, lesson);
    return done;
}
