#pragma once

#include "platform/core/Ansi.h"

#include <QFile>
#include <QString>
#include <QStringList>

// Writes a key or other teacher file as the given bytes.
inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write test file");
    file.write(bytes);
}

// Writes lines in Windows-1252, each ended by CR LF, as a teacher's editor on Windows would.
inline void writeAnsiLines(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += stringToAnsi(line) + "\r\n";
    writeBytes(path, bytes);
}
