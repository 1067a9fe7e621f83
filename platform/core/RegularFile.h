#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// Opens the file for reading only when it is a regular file, or a link to one. Opening a FIFO
// waits for a writer and a device may never end: either would hang the program on a strange
// name in a lesson folder, so both count as files that cannot be opened.
bool openRegularFileForReading(QFile& file);

// Reads the whole regular file at path, of at most limit bytes (a file that grows past the limit
// while it is read is refused too, so memory stays bounded). False, with a Spanish reason
// ("no se puede abrir el archivo", "ocupa más de 64 MB y no se lee"), when it cannot be read whole.
constexpr qint64 kNoSizeLimit = -1;
bool ReadRegularFile(const QString& path, QByteArray& bytes, QString& reason,
                     qint64 limit = kNoSizeLimit);
