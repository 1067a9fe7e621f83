#include "study/VisitCopy.h"

#include "platform/core/FolderFile.h"
#include "platform/core/RegularFile.h"
#include "study/VisitMatch.h"
#include "study/VisitSeal.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QSet>

namespace {

constexpr qint64 kSettledSecs = 24 * 60 * 60;
constexpr int kCleaningOdds = 16;

QString copyFolder(const QString& registerPath) {
    return QFileInfo(registerPath).absolutePath() + u'/' + kVisitCopyFolder;
}

QFileInfoList copiesIn(const QString& folder, const QString& prefix) {
    // A link put in place of the folder would lead the teacher's program to another folder.
    if (IsLink(folder))
        return {};
    // System as well: a FIFO or a broken link planted there is listed, and then refused.
    return QDir(folder).entryInfoList({prefix + QStringLiteral("*") + kVisitCopySuffix},
                                      QDir::Files | QDir::Hidden | QDir::System,
                                      QDir::Time | QDir::Reversed);
}

// The register a copy belongs to: its name up to the random part.
QString registerOf(const QFileInfo& copy) {
    const QString name = copy.fileName();
    const qsizetype end = name.lastIndexOf(u'.', name.size() - kVisitCopySuffix.size() - 1);
    return QFileInfo(copy.absolutePath()).absolutePath() + u'/' + name.left(end);
}

} // namespace

QStringList VisitCopiesOf(const QString& registerPath) {
    QStringList paths;
    const QString prefix = QFileInfo(registerPath).fileName() + u'.';
    for (const QFileInfo& copy : copiesIn(copyFolder(registerPath), prefix))
        if (registerOf(copy) == QFileInfo(registerPath).absoluteFilePath())
            paths.append(copy.absoluteFilePath());
    return paths;
}

VisitCopyRead ReadVisitCopy(const QString& registerPath, const QString& copyPath) {
    VisitCopyRead read{copyPath, {}, {}};
    QByteArray bytes;
    if (!ReadRegularFile(copyPath, bytes, read.notValid, kLargestVisitCopy))
        return read;
    read.visit = SealedVisit(QFileInfo(registerPath).fileName(), bytes);
    if (read.visit.isEmpty())
        read.notValid = QStringLiteral("no lleva el sello del programa del alumno");
    return read;
}

QString VisitCopyTag(const QString& journalPath) {
    return QString::fromLatin1(QCryptographicHash::hash(QFileInfo(journalPath).fileName().toUtf8(),
                                                        QCryptographicHash::Sha256)
                                   .toHex()
                                   .left(16));
}

namespace {
QString copyPath(const QString& registerPath, const QString& part) {
    return copyFolder(registerPath) + u'/' + QFileInfo(registerPath).fileName() + u'.' + part +
           kVisitCopySuffix;
}
} // namespace

bool VisitInRegister(const QString& registerPath, const QByteArray& bytes, const QString& tag) {
    if (ReadVisitCopy(registerPath, copyPath(registerPath, tag)).visit == bytes)
        return true;
    int sealed = 0;
    for (const QString& copy : VisitCopiesOf(registerPath))
        sealed += ReadVisitCopy(registerPath, copy).visit == bytes ? 1 : 0;
    return CountWholeVisitIn(registerPath, bytes) > sealed;
}

QString WriteVisitCopy(const QString& registerPath, const QByteArray& bytes, const QString& tag) {
    const QString folder = copyFolder(registerPath);
    // Never the register's own folder: a save into a folder that is not there fails.
    const QDir registerFolder(QFileInfo(registerPath).absolutePath());
    // Another save may make it at the same moment.
    if (!registerFolder.mkdir(kVisitCopyFolder) && (IsLink(folder) || !QFileInfo(folder).isDir()))
        return {};
    const QByteArray sealed = SealVisit(QFileInfo(registerPath).fileName(), bytes);
    for (int tries = 0; tries < 3; ++tries) {
        const QString path = copyPath(
            registerPath,
            tag.isEmpty() ? QString::number(QRandomGenerator::system()->generate64(), 16) : tag);
        QFile file;
        if (OpenInFolder(file, path, FolderAccess::CreateNew, QIODevice::Unbuffered) !=
            FolderOpen::Opened) {
            if (!tag.isEmpty())
                return ReadVisitCopy(registerPath, path).visit == bytes ? path : QString();
            continue;
        }
        // Not synced: a request less on a share at the bell. A copy cut short by a power cut
        // has lost its seal, and the teacher's program does not take it for a visit.
        if (file.write(sealed) == sealed.size()) {
            file.close();
            return path;
        }
        file.close();
        QFile::remove(path);
        return {};
    }
    return {};
}

void RemoveSettledCopies(const QString& newCopy) {
    // Looking costs a request per copy on a share: one save in kCleaningOdds does it.
    if (QRandomGenerator::global()->bounded(kCleaningOdds) != 0)
        return;
    const QFileInfo fresh(newCopy);
    const QDateTime before = fresh.lastModified().addSecs(-kSettledSecs);
    // A visit saved twice alike has two copies; they go once the register holds it twice.
    QHash<QString, QHash<QByteArray, QStringList>> settled;
    QHash<QString, QHash<QByteArray, int>> copies;
    const QFileInfoList all = copiesIn(fresh.absolutePath(), {});
    QSet<QString> withSettled;
    for (const QFileInfo& copy : all)
        if (copy.lastModified() <= before)
            withSettled.insert(registerOf(copy));
    for (const QFileInfo& copy : all) {
        const QString registerPath = registerOf(copy);
        if (!withSettled.contains(registerPath))
            continue;
        const VisitCopyRead read = ReadVisitCopy(registerPath, copy.absoluteFilePath());
        if (read.visit.isEmpty())
            continue;
        ++copies[registerPath][read.visit];
        if (copy.lastModified() <= before)
            settled[registerPath][read.visit].append(copy.absoluteFilePath());
    }
    for (auto in = settled.cbegin(); in != settled.cend(); ++in) {
        for (auto group = in->cbegin(); group != in->cend(); ++group) {
            if (CountWholeVisitIn(in.key(), group.key()) < copies[in.key()][group.key()])
                continue;
            for (const QString& path : group.value())
                QFile::remove(path);
        }
    }
}
