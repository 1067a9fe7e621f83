#include "FilesTogether.h"

#include "RegularFile.h"
#include "ToolkitError.h"

#include <QDir>
#include <QSaveFile>

#include <memory>
#include <vector>

namespace {

ToolkitError cannotWrite(const QSaveFile& file) {
    return ToolkitError(QStringLiteral("No se puede escribir %1: %2")
                            .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
}

} // namespace

QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    QByteArray bytes;
    if (openRegularFileForReading(file))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError)
        throw ToolkitError(
            QStringLiteral("No se puede leer %1").arg(QDir::toNativeSeparators(path)));
    return bytes;
}

void WriteFilesTogether(const QList<std::pair<QString, QByteArray>>& files) {
    std::vector<std::unique_ptr<QSaveFile>> staged;
    for (const auto& [path, bytes] : files) {
        auto file = std::make_unique<QSaveFile>(path);
        if (!file->open(QIODevice::WriteOnly) || file->write(bytes) != bytes.size())
            throw cannotWrite(*file);
        staged.push_back(std::move(file));
    }
    for (const auto& file : staged) {
        if (!file->commit())
            throw cannotWrite(*file);
    }
}
