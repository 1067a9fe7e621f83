#include "study/VisitCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace {

constexpr qint64 kSettledSecs = 24 * 60 * 60;
constexpr qint64 kPiece = 1 << 20;
constexpr int kCleaningOdds = 16;

QString copyFolder(const QString& registerPath) {
    return QFileInfo(registerPath).absolutePath() + u'/' + kVisitCopyFolder;
}

QFileInfoList copiesIn(const QString& folder, const QString& prefix) {
    return QDir(folder).entryInfoList({prefix + QStringLiteral("*") + kVisitCopySuffix},
                                      QDir::Files | QDir::Hidden, QDir::Time | QDir::Reversed);
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

QString WriteVisitCopy(const QString& registerPath, const QByteArray& bytes) {
    const QString folder = copyFolder(registerPath);
    // Never the register's own folder: a save into a folder that is not there fails.
    const QDir registerFolder(QFileInfo(registerPath).absolutePath());
    // Another save may make it at the same moment.
    if (!registerFolder.mkdir(kVisitCopyFolder) && !QFileInfo(folder).isDir())
        return {};
    for (int tries = 0; tries < 3; ++tries) {
        const QString path = folder + u'/' + QFileInfo(registerPath).fileName() + u'.' +
                             QString::number(QRandomGenerator::system()->generate64(), 16) +
                             kVisitCopySuffix;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            continue;
        // Not synced: a request less on a share at the bell. A copy cut short by a power cut is
        // the start of a visit that its register holds whole, or one the teacher's program
        // does not take for a visit.
        if (file.write(bytes) == bytes.size()) {
            file.close();
            return path;
        }
        file.close();
        file.remove();
        return {};
    }
    return {};
}

bool RegisterHolds(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (bytes.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    // Each piece starts with the end of the one before, so that no match falls between them.
    QByteArray piece;
    for (;;) {
        const QByteArray more = file.read(kPiece);
        if (more.isEmpty())
            return false;
        piece = piece.right(bytes.size() - 1) + more;
        if (piece.contains(bytes))
            return true;
    }
}

void RemoveSettledCopies(const QString& newCopy) {
    // Looking costs a request per copy on a share: one save in kCleaningOdds does it.
    if (QRandomGenerator::global()->bounded(kCleaningOdds) != 0)
        return;
    const QFileInfo fresh(newCopy);
    const QDateTime before = fresh.lastModified().addSecs(-kSettledSecs);
    for (const QFileInfo& copy : copiesIn(fresh.absolutePath(), {})) {
        if (copy.lastModified() > before)
            break; // sorted oldest first
        QFile file(copy.absoluteFilePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray visit = file.readAll();
        file.close();
        if (RegisterHolds(registerOf(copy), visit))
            QFile::remove(copy.absoluteFilePath());
    }
}
