#include "print/WebExport.h"

#include "lesson/LessonFiles.h"
#include "lesson/ReadingUnits.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/ToolkitError.h"
#include "platform/rtf/DocumentFile.h"
#include "print/ReadingHtml.h"
#include "teacher/ScormManifest.h"
#include "teacher/WebLesson.h"
#include "teacher/WebSeal.h"
#include "teacher/ZipArchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextDocument>

namespace {

using Files = QList<std::pair<QString, QByteArray>>;

// The page's own files, carried by the program: everything of the repository's web/ folder.
Files pageFiles() {
    Files files;
    const QString root = QStringLiteral(":/web/");
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw ToolkitError(
                QStringLiteral("No se puede leer el archivo %1 del programa").arg(path));
        files.append({path.mid(root.size()), file.readAll()});
    }
    if (files.isEmpty())
        throw ToolkitError(QStringLiteral("Este programa no lleva la página web de las lecciones"));
    return files;
}

bool isLink(const QFileInfo& info) {
    return info.isSymLink() || info.isJunction();
}

void refuseLink(const QString& path) {
    if (isLink(QFileInfo(path)))
        throw ToolkitError(QStringLiteral("%1 es un enlace: no se escribe a través de él; bórrelo "
                                          "o elija otra carpeta")
                               .arg(QDir::toNativeSeparators(path)));
}

void writeInto(const QString& folder, const Files& files) {
    for (const auto& [path, bytes] : files) {
        const QString target = QDir(folder).filePath(path);
        QString failure;
        if (!QDir().mkpath(QFileInfo(target).path()) ||
            !WriteFileAtomically(target, bytes, failure))
            throw ToolkitError(QStringLiteral("No se puede escribir %1: %2")
                                   .arg(QDir::toNativeSeparators(target), failure));
    }
}

// Puts the new page in its place: the old one (a folder, or a link that is only removed) moves
// aside under a name of its own, the new one takes its name, and only then the old one goes.
void swapIn(const QString& fresh, const QString& page) {
    const QFileInfo old(page);
    if (!old.exists() && !isLink(old)) {
        if (!QDir().rename(fresh, page))
            throw ToolkitError(QStringLiteral("No se puede crear la carpeta %1")
                                   .arg(QDir::toNativeSeparators(page)));
        return;
    }
    if (!isLink(old) && !old.isDir())
        throw ToolkitError(QStringLiteral("Ya hay un archivo llamado %1: no se sustituye por la "
                                          "página")
                               .arg(QDir::toNativeSeparators(page)));
    QTemporaryDir aside(page + QStringLiteral(".anterior-XXXXXX"));
    const QString asidePath = aside.path() + QStringLiteral("/pagina");
    if (!aside.isValid() || !QDir().rename(page, asidePath))
        throw ToolkitError(QStringLiteral("No se puede sustituir la página que había en %1")
                               .arg(QDir::toNativeSeparators(page)));
    if (!QDir().rename(fresh, page)) {
        QDir().rename(asidePath, page);
        throw ToolkitError(QStringLiteral("No se puede sustituir la página que había en %1")
                               .arg(QDir::toNativeSeparators(page)));
    }
    // QTemporaryDir's removal deletes a link inside it, never what the link points to.
}

} // namespace

WebPublication publishForWeb(const LessonReport& report, const QString& folder, bool voice) {
    if (report.unreadable)
        throw ToolkitError(QStringLiteral("La lección %1 no se puede leer: no se publica")
                               .arg(QDir::toNativeSeparators(report.textPath)));
    const QFileInfo target(folder.isEmpty() ? QStringLiteral(".") : folder);
    if (!target.isDir())
        throw ToolkitError(
            QStringLiteral("La carpeta %1 no existe").arg(QDir::toNativeSeparators(folder)));
    const QString lesson = LessonNameOf(QFileInfo(report.textPath).fileName());
    const QDir dir(target.absoluteFilePath());
    WebPublication done;
    done.pageFolder = dir.filePath(lesson);
    done.packagePath = dir.filePath(lesson + QStringLiteral("_scorm.zip"));
    refuseLink(done.packagePath);

    // The reading as the student's viewer reads it, cut into sections where read-aloud cuts it.
    const std::unique_ptr<QTextDocument> document = DocumentFile::load(report.textPath);
    const QString text = DocumentFile::plainText(*document);
    WebPictures pictures;
    QList<WebReading> readings;
    for (const SectionView& section : report.sections) {
        const Span body = SectionBody(text, section.number);
        // A picture stands in the viewer's text as one object character, which no voice says and
        // no word of the page's reading matches: a blank keeps the words where they are.
        QString spoken = text.mid(body.start, body.length());
        spoken.replace(QChar::ObjectReplacementCharacter, u' ');
        readings.append({ReadingHtml(*document, body.start, body.end, pictures), spoken});
    }

    Files page = pageFiles();
    page.append({QStringLiteral("leccion.js"),
                 WebLessonScript(report, lesson, readings, voice, WebNonce())});
    for (const auto& [path, bytes] : page)
        done.pageBytes += bytes.size();
    for (const auto& [path, bytes] : pictures.files())
        done.pictureBytes += bytes.size();
    page += pictures.files();
    std::sort(page.begin(), page.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });

    QStringList paths;
    for (const auto& [path, bytes] : page)
        paths.append(path);
    Files package = page;
    package.prepend({QStringLiteral("imsmanifest.xml"), ScormManifest(lesson, paths)});
    StagedFile zip(done.packagePath);
    if (!zip.stage(ZipArchive(package, QDateTime::currentDateTime())))
        throw ToolkitError(QStringLiteral("No se puede escribir %1: %2")
                               .arg(QDir::toNativeSeparators(done.packagePath), zip.failure()));

    QTemporaryDir fresh(done.pageFolder + QStringLiteral(".nueva-XXXXXX"));
    if (!fresh.isValid())
        throw ToolkitError(QStringLiteral("No se puede escribir en la carpeta %1")
                               .arg(QDir::toNativeSeparators(dir.path())));
    const QString staged = fresh.filePath(QStringLiteral("pagina"));
    writeInto(staged, page);
    swapIn(staged, done.pageFolder);
    if (!zip.commit())
        throw ToolkitError(QStringLiteral("No se puede escribir %1: %2")
                               .arg(QDir::toNativeSeparators(done.packagePath), zip.failure()));
    return done;
}
