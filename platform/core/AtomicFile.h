#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <utility>

// Files written whole or not at all. Every step is checked: the bytes go unbuffered into a new
// file beside the target (so a full disk fails the write itself, not a late flush whose failure
// Qt 6.4's QSaveFile::commit() does not report for small files), are synced to the disk, and
// only then take the target's place in one rename. A link or anything but a regular file in the
// target's place is refused (the folder may be one that students write). On any failure the target
// is as it was and the new file is gone. Failures come with a Spanish text naming the file.

// One file staged beside its place; removed unless committed.
class StagedFile {
public:
    explicit StagedFile(const QString& path);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Writes and syncs the whole new file beside the target.
    bool stage(const QByteArray& bytes);
    // Puts the staged file in the target's place.
    bool commit();
    const QString& failure() const { return failure_; }

private:
    bool fail(const QString& reason);

    QString path_;
    QString staged_; // the new file's name while it waits for its place
    QFile file_;
    QString failure_;
};

// Replaces (or creates) the file at path with bytes.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString& failure);

// Several files: each is staged in full before any takes its place, so that a full disk leaves
// every one of them as it was.
bool WriteFilesAtomically(const QList<std::pair<QString, QByteArray>>& files, QString& failure);

// Like WriteFileAtomically, keeping the file it replaces as path.bak and the two before as
// path.bak2 and path.bak3. The backup is the old file itself (a second link to it, or the old
// file renamed where links are not allowed): making it copies nothing, so it never fails on a
// full disk. The new file is staged before any backup moves.
bool ReplaceKeepingBackups(const QString& path, const QByteArray& bytes, QString& failure);

// The name of a backup generation: path.bak, path.bak2, path.bak3.
QString BackupPath(const QString& path, int generation);
constexpr int kBackupGenerations = 3;
