#include "platform/core/AtomicFile.h"

#include "platform/core/DiskSync.h"
#include "platform/core/FolderFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    for (int generation = kBackupGenerations; generation > 1; --generation) {
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

} // namespace

StagedFile::StagedFile(const QString& path) : path_(path), file_(path) {}

bool StagedFile::fail(const QString& reason) {
    failure_ = cannotWrite(path_, reason);
    file_.cancelWriting();
    return false;
}

bool StagedFile::stage(const QByteArray& bytes) {
    // In a folder that others write, a link in the file's place could send the new file's
    // name, or a later reader, somewhere else: where a file of ours is expected, only a file goes.
    if (IsLink(path_))
        return fail(FolderOpenReason(FolderOpen::Link));
    if (QFileInfo::exists(path_) && !QFileInfo(path_).isFile())
        return fail(FolderOpenReason(FolderOpen::NotRegular));
    // Unbuffered: a write that does not reach the disk's cache fails here, where it is checked.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(withSystemReason(
            QStringLiteral("no se puede crear un archivo nuevo en su carpeta"), file_));
    if (file_.write(bytes) != bytes.size() || !file_.flush())
        return fail(withSystemReason(QStringLiteral("el disco está lleno o no admite un archivo "
                                                    "tan grande"),
                                     file_));
    if (!syncToDisk(file_))
        return fail(QStringLiteral("el disco no ha confirmado que lo ha guardado"));
    return true;
}

bool StagedFile::commit() {
    if (!file_.commit()) {
        failure_ = cannotWrite(
            path_, withSystemReason(QStringLiteral("no se puede poner en su sitio"), file_));
        return false;
    }
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
