#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <utility>

// A zip archive built in memory, each file deflated (or stored when deflating does not make it
// smaller), names in UTF-8 and flagged so, every file dated `when`: what a school platform's
// unzipping of a package reads. files: path inside the archive ("/" separated) and bytes.
QByteArray ZipArchive(const QList<std::pair<QString, QByteArray>>& files, const QDateTime& when);

// The CRC-32 of the zip format.
quint32 ZipCrc32(QByteArrayView bytes);
