#include "platform/core/AtomicFile.h"

#include "platform/core/DiskSync.h"
#include "platform/core/FolderFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <memory>
#include <vector>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#endif

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Renames over an existing file in one step (QFile::rename refuses an existing target).
bool renameOver(const QString& from, const QString& to) {
#ifdef Q_OS_WIN
    return MoveFileExW(native(from).toStdWString().c_str(), native(to).toStdWString().c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

// A second name for the same file; false where the file system has no such links.
bool linkFile(const QString& existing, const QString& name) {
#ifdef Q_OS_WIN
    return CreateHardLinkW(native(name).toStdWString().c_str(),
                           native(existing).toStdWString().c_str(), nullptr) != 0;
#else
    return ::link(QFile::encodeName(existing).constData(), QFile::encodeName(name).constData()) ==
           0;
#endif
}

QString withSystemReason(const QString& reason, const QFileDevice& file) {
    if (file.error() == QFileDevice::NoError || file.errorString().isEmpty())
        return reason;
    return QStringLiteral("%1 (%2)").arg(reason, file.errorString());
}

QString cannotWrite(const QString& path, const QString& reason) {
    return QStringLiteral("No se puede escribir %1: %2").arg(native(path), reason);
}

// Moves the backups one generation back and makes the file at path the newest. Linked, the file
// stays in its place; renamed, rename it back if its replacement fails.
bool keepBackups(const QString& path, bool& linked, QString& failure) {
    const QString fresh = path + QStringLiteral(".bak-nueva");
    QFile::remove(fresh);
    linked = linkFile(path, fresh);
    // Only the generations before the first gap move back: a save killed halfway through the
    // moves leaves a gap, and the next one fills it instead of renaming over an older backup.
    int gap = 1;
    while (gap < kBackupGenerations && QFileInfo::exists(BackupPath(path, gap)))
        ++gap;
    for (int generation = gap; generation > 1; --generation) {
        const QString older = BackupPath(path, generation - 1);
        if (QFileInfo::exists(older) && !renameOver(older, BackupPath(path, generation))) {
            QFile::remove(fresh);
            failure = cannotWrite(BackupPath(path, generation),
                                  QStringLiteral("no se puede renombrar %1").arg(native(older)));
            return false;
        }
    }
    if (!renameOver(linked ? fresh : path, BackupPath(path, 1))) {
        QFile::remove(fresh);
        failure = cannotWrite(BackupPath(path, 1),
                              QStringLiteral("no se puede guardar la copia del archivo anterior"));
        return false;
    }
    return true;
}

// The new file is staged beside its target as "<name>.nuevo-<8 hexadecimal digits>". One that a
// kill left behind, older than an hour, is nobody's write any more: the next write removes it.
const QString kStagedInfix = QStringLiteral(".nuevo-");

void removeLeftNewFiles(const QString& path) {
    const QFileInfo target(path);
    const QDateTime hourAgo = QDateTime::currentDateTimeUtc().addSecs(-3600);
    const QString pattern = target.fileName() + kStagedInfix + QStringLiteral("????????");
    for (const QFileInfo& left :
         QDir(target.absolutePath()).entryInfoList({pattern}, QDir::Files | QDir::Hidden))
        if (!left.isSymLink() && left.lastModified().toUTC() < hourAgo)
            QFile::remove(left.absoluteFilePath());
}

} // namespace

StagedFile::StagedFile(const QString& path) : path_(path) {}

StagedFile::~StagedFile() {
    if (!staged_.isEmpty()) {
        file_.close();
        QFile::remove(staged_);
    }
}

bool StagedFile::fail(const QString& reason) {
    failure_ = cannotWrite(path_, reason);
    if (!staged_.isEmpty()) {
        file_.close();
        QFile::remove(staged_);
        staged_.clear();
    }
    return false;
}

bool StagedFile::stage(const QByteArray& bytes) {
    // In a folder that others write, a link in the file's place could send the new file's
    // name, or a later reader, somewhere else: where a file of ours is expected, only a file goes.
    if (IsLink(path_))
        return fail(FolderOpenReason(FolderOpen::Link));
    if (QFileInfo::exists(path_) && !QFileInfo(path_).isFile())
        return fail(FolderOpenReason(FolderOpen::NotRegular));
    removeLeftNewFiles(path_);
    // A new name of its own, made by exclusive creation: nothing planted there is written through.
    // Unbuffered: a write that does not reach the disk's cache fails here, where it is checked.
    for (int tries = 0; tries < 8 && staged_.isEmpty(); ++tries) {
        const QString name = path_ + kStagedInfix +
                             QStringLiteral("%1").arg(QRandomGenerator::system()->generate(), 8, 16,
                                                      QLatin1Char('0'));
        if (OpenInFolder(file_, name, FolderAccess::CreateNew, QIODevice::Unbuffered) ==
            FolderOpen::Opened)
            staged_ = name;
    }
    if (staged_.isEmpty())
        return fail(QStringLiteral("no se puede crear un archivo nuevo en su carpeta"));
    // The new file keeps the rights of the one it replaces.
    if (QFileInfo::exists(path_))
        QFile::setPermissions(staged_, QFileInfo(path_).permissions());
    if (file_.write(bytes) != bytes.size() || !file_.flush())
        return fail(withSystemReason(QStringLiteral("el disco está lleno o no admite un archivo "
                                                    "tan grande"),
                                     file_));
    if (!syncToDisk(file_))
        return fail(QStringLiteral("el disco no ha confirmado que lo ha guardado"));
    file_.close();
    return true;
}

bool StagedFile::commit() {
    if (staged_.isEmpty() || !renameOver(staged_, path_)) {
        failure_ = cannotWrite(path_, QStringLiteral("no se puede poner en su sitio"));
        return false;
    }
    staged_.clear();
    syncFolder(QFileInfo(path_).absolutePath());
    return true;
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString& failure) {
    return WriteFilesAtomically({{path, bytes}}, failure);
}

bool WriteFilesAtomically(const QList<std::pair<QString, QByteArray>>& files, QString& failure) {
    std::vector<std::unique_ptr<StagedFile>> staged;
    for (const auto& [path, bytes] : files) {
        staged.push_back(std::make_unique<StagedFile>(path));
        if (!staged.back()->stage(bytes)) {
            failure = staged.back()->failure();
            return false;
        }
    }
    for (const auto& file : staged) {
        if (!file->commit()) {
            failure = file->failure();
            return false;
        }
    }
    return true;
}

bool ReplaceKeepingBackups(const QString& link, const QByteArray& bytes, QString& failure) {
    // Through a symbolic link, the file it names is replaced and backed up beside itself.
    const QFileInfo info(link);
    const QString path = info.isSymLink() ? info.symLinkTarget() : link;
    StagedFile staged(path);
    if (!staged.stage(bytes)) {
        failure = staged.failure();
        return false;
    }
    bool linked = true;
    if (QFileInfo::exists(path) && !keepBackups(path, linked, failure))
        return false;
    if (!staged.commit()) {
        if (!linked)
            renameOver(BackupPath(path, 1), path);
        failure = staged.failure();
        return false;
    }
    return true;
}

QString BackupPath(const QString& path, int generation) {
    return path +
           (generation == 1 ? QStringLiteral(".bak") : QStringLiteral(".bak%1").arg(generation));
}
