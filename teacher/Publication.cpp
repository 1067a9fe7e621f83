#include "teacher/Publication.h"

#include "lesson/LessonFiles.h"
#include "lesson/OnePublication.h"
#include "lesson/PublishedKey.h"
#include "platform/core/RegularFile.h"
#include "platform/core/ToolkitError.h"
#include "teacher/FilesTogether.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace {

// The lock that publications into one class folder take in turn. A publisher that is killed
// leaves it behind; the next one finds its process gone (or the file old) and takes it over.
const QString kPublishingLock = QStringLiteral(".dorvalia-publicando.lock");
constexpr int kLockWaitMs = 20000;
constexpr int kLockStaleMs = 60000;

QString canonicalFolder(const QString& folder) {
    return QDir(folder.isEmpty() ? QStringLiteral(".") : folder).canonicalPath();
}

// A student may have put a link, a FIFO or a folder where the lesson's file goes: writing there
// would replace a file outside the class's folder, or hang.
void refuseWhatIsNoFile(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink() || info.isJunction())
        throw ToolkitError(QStringLiteral("En la carpeta de la clase, %1 es un enlace a otro "
                                          "archivo: no se publica a través de él. Bórrelo y "
                                          "vuelva a publicar")
                               .arg(QDir::toNativeSeparators(path)));
    if (info.exists() && !info.isFile())
        throw ToolkitError(QStringLiteral("En la carpeta de la clase, %1 no es un archivo: no "
                                          "se publica. Bórrelo y vuelva a publicar")
                               .arg(QDir::toNativeSeparators(path)));
}

// Whether the file at path holds exactly bytes.
bool holds(const QString& path, const QByteArray& bytes) {
    QByteArray found;
    QString reason;
    return ReadRegularFile(path, found, reason, bytes.size() + 1) && found == bytes;
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

Publication publishLesson(const LessonReport& report, const QString& classFolder,
                          const PublishChoices& choices) {
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
    SealedKey published;
    published.key = IsPublishedKey(report.keyPath) ? ReadSealedKey(report.keyPath).key
                                                   : ReadWholeFile(report.keyPath);
    published.lesson = lesson;
    published.listening = choices.listening;
    published.exam = choices.exam;
    published.feedbackAtEnd = choices.exam && choices.feedbackAtEnd;
    published.readingDigest = ReadingDigest(reading);
    const QByteArray sealed = SealKey(published);

    const QDir target(folder);
    Publication done;
    done.textPath = target.filePath(text.fileName());
    done.keyPath = target.filePath(PublishedKeyName(lesson));
    // The key first: until the reading follows it, the key names a reading that is not there.
    QList<std::pair<QString, QByteArray>> files = {{done.keyPath, sealed},
                                                   {done.textPath, reading}};
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

    QLockFile lock(target.filePath(kPublishingLock));
    lock.setStaleLockTime(kLockStaleMs);
    if (!lock.tryLock(kLockWaitMs))
        throw ToolkitError(
            lock.error() == QLockFile::LockFailedError
                ? QStringLiteral("Otra publicación está escribiendo en la carpeta de la clase %1 "
                                 "y no ha terminado: vuelva a publicar dentro de un momento")
                      .arg(QDir::toNativeSeparators(folder))
                : QStringLiteral("No se puede escribir en la carpeta de la clase %1")
                      .arg(QDir::toNativeSeparators(folder)));
    for (const auto& file : files)
        refuseWhatIsNoFile(file.first);
    WriteFilesTogether(files);
    // Only the pair that stands counts as published: a publisher that does not take the lock
    // (an older program) may have written in between.
    if (!holds(done.keyPath, sealed) || ReadingDigestAt(done.textPath) != published.readingDigest)
        throw ToolkitError(
            QStringLiteral("Otra publicación de la lección ha escrito en la carpeta de la clase "
                           "%1 al mismo tiempo: vuelva a publicar la lección")
                .arg(QDir::toNativeSeparators(folder)));
    lock.unlock();
    done.plainKeys = plainKeysIn(folder, lesson);
    return done;
}

QString AnswersNeedPlainKey(const QString& publishedKey, const QString& plainKey) {
    return QStringLiteral("la lección solo tiene la clave publicada para la clase, %1, y de ella "
                          "no se sacan las respuestas: hace falta la clave sin proteger, %2, que "
                          "está en su carpeta")
        .arg(QDir::toNativeSeparators(publishedKey), QFileInfo(plainKey).fileName());
}
