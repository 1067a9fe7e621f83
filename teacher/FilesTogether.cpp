#include "teacher/FilesTogether.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/RegularFile.h"
#include "platform/core/ToolkitError.h"

#include <QDir>

QByteArray ReadWholeFile(const QString& path) {
    QByteArray bytes;
    QString reason;
    if (!ReadRegularFile(path, bytes, reason))
        throw ToolkitError(
            QStringLiteral("No se puede leer %1").arg(QDir::toNativeSeparators(path)));
    return bytes;
}

void WriteFilesTogether(const QList<std::pair<QString, QByteArray>>& files) {
    QString failure;
    if (!WriteFilesAtomically(files, failure))
        throw ToolkitError(failure);
}
