#pragma once

#include <QString>

class QFileDevice;

// Flushes an open file's bytes from every cache to the disk; false when the system refuses.
bool syncToDisk(QFileDevice& file);

// Makes a file's creation in folder durable: on POSIX the folder's entry is synced too, so that a
// power cut just after the save cannot lose a file whose bytes were already on the disk. Some
// file systems (network shares among them) cannot sync a folder; that is not an error.
void syncFolder(const QString& folder);
