#include "tests/teacher/WorkbookParts.h"

#include <QFile>

#include <unzip.h>

QMap<QString, QByteArray> ZipParts(const QString& path) {
    QMap<QString, QByteArray> parts;
    unzFile zip = unzOpen(QFile::encodeName(path).constData());
    if (!zip)
        return parts;
    for (int more = unzGoToFirstFile(zip); more == UNZ_OK; more = unzGoToNextFile(zip)) {
        char name[256];
        unz_file_info info;
        if (unzGetCurrentFileInfo(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0) !=
                UNZ_OK ||
            unzOpenCurrentFile(zip) != UNZ_OK)
            break;
        QByteArray bytes(qsizetype(info.uncompressed_size), '\0');
        const int read = unzReadCurrentFile(zip, bytes.data(), unsigned(bytes.size()));
        if (unzCloseCurrentFile(zip) == UNZ_OK && read == bytes.size())
            parts.insert(QString::fromUtf8(name), bytes);
    }
    unzClose(zip);
    return parts;
}

QMap<QString, QByteArray> WorkbookXmlParts(const QString& path) {
    QMap<QString, QByteArray> parts = ZipParts(path);
    parts.removeIf([](const auto& part) { return !part.key().endsWith(QStringLiteral(".xml")); });
    return parts;
}
