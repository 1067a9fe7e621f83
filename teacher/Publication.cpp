#include "teacher/Publication.h"

#include "lesson/LessonFiles.h"
#include "lesson/PublishedKey.h"
#include "platform/core/ToolkitError.h"
#include "teacher/FilesTogether.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString canonicalFolder(const QString& folder) {
    return QDir(folder.isEmpty() ? QStringLiteral(".") : folder).canonicalPath();
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

Publication publishLesson(const LessonReport& report, const QString& classFolder, bool listening) {
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

    const QByteArray reading = ReadWholeFile(report.textPath);
    const QByteArray plainKey = IsPublishedKey(report.keyPath) ? ReadPublishedKey(report.keyPath)
                                                               : ReadWholeFile(report.keyPath);
    const QDir target(folder);
    Publication done;
    done.textPath = target.filePath(text.fileName());
    done.keyPath = target.filePath(PublishedKeyName(lesson));
    QList<std::pair<QString, QByteArray>> files = {
        {done.keyPath, SealKey(plainKey, lesson, listening)}, {done.textPath, reading}};
    // The student's program looks for them in its working folder, which a class opening lessons
    // from its folder has there; they go under the exact names it opens.
    // A class folder without them gets the program's own copies: without them the students
    // meet «No se encuentra el archivo» before the first lesson.
    for (const QString& name : {kIntroductionName, kInstructionsName}) {
        const QString beside = FileByNameAnyCase(QDir(text.path()).filePath(name));
        if (QFileInfo(beside).isFile()) {
            done.documents.append(target.filePath(name));
            files.append({done.documents.last(), ReadWholeFile(beside)});
        } else if (!QFileInfo(FileByNameAnyCase(target.filePath(name))).exists()) {
            QFile own(QStringLiteral(":/documentos/") + name);
            if (!own.open(QIODevice::ReadOnly))
                throw ToolkitError::cannotOpenFile(own.fileName());
            done.programDocuments.append(target.filePath(name));
            files.append({done.programDocuments.last(), own.readAll()});
        }
    }
    WriteFilesTogether(files);
    done.plainKeys = plainKeysIn(folder, lesson);
    return done;
}
