#include "platform/core/RegularFile.h"

#include "platform/core/FolderFile.h"

#include <QFile>

bool openRegularFileForReading(QFile& file) {
    return OpenInFolder(file, file.fileName(), FolderAccess::Read) == FolderOpen::Opened;
}

bool ReadRegularFile(const QString& path, QByteArray& bytes, QString& reason, qint64 limit) {
    bytes.clear();
    QFile file;
    const FolderOpen opened = OpenInFolder(file, path, FolderAccess::Read);
    if (opened != FolderOpen::Opened) {
        reason = FolderOpenReason(opened);
        return false;
    }
    const auto tooLarge = [&] {
        bytes.clear();
        const qint64 megabytes = limit / (1024 * 1024);
        reason = megabytes > 0 ? QStringLiteral("ocupa más de %1 MB y no se lee").arg(megabytes)
                               : QStringLiteral("ocupa más de %1 bytes y no se lee").arg(limit);
        return false;
    };
    if (limit != kNoSizeLimit && file.size() > limit)
        return tooLarge();
    if (limit == kNoSizeLimit) {
        bytes = file.readAll();
    } else {
        // In pieces, so that a file growing while it is read stops at the limit.
        bytes.reserve(file.size());
        while (bytes.size() <= limit) {
            const QByteArray piece = file.read(1 << 20);
            if (piece.isEmpty())
                break;
            bytes += piece;
        }
    }
    if (file.error() != QFileDevice::NoError) {
        bytes.clear();
        reason = QStringLiteral("no se puede leer el archivo");
        return false;
    }
    if (limit != kNoSizeLimit && bytes.size() > limit)
        return tooLarge();
    return true;
}
