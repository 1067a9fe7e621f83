#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// Opens the file for reading only when it is a regular file, as OpenInFolder does: a lesson's
// folder is often a class folder that students write, so a symbolic link there is not followed,
// and a FIFO (which would wait for a writer) or a device (which may never end) is refused at once.
bool openRegularFileForReading(QFile& file);

// Reads the whole regular file at path, of at most limit bytes (a file that grows past the limit
// while it is read is refused too, so memory stays bounded). False, with a Spanish reason
// ("no se puede abrir el archivo", "es un enlace y no se sigue", "ocupa más de 64 MB y no se
// lee"), when it cannot be read whole.
constexpr qint64 kNoSizeLimit = -1;
bool ReadRegularFile(const QString& path, QByteArray& bytes, QString& reason,
                     qint64 limit = kNoSizeLimit);
