#pragma once

#include "lesson/PublishedKey.h"

#include <QByteArray>
#include <QString>

// A reading and a published key stand together only when the key was published with that reading:
// a publication stopped half-way, or two at once, can leave the reading of one beside the key of
// another, each whole, and the questions would then not be those of the text on screen.

// The digest of the reading file at path (ReadingDigest); empty when it cannot be read, which its
// own opening then reports.
QByteArray ReadingDigestAt(const QString& path);

// Whether the reading whose digest is given is the one the key was published with. A key that
// records no reading (a plain key, or one published before the digest was kept) fits any reading.
bool ReadingFitsKey(const QByteArray& readingDigest, const SealedKey& key);

// Whether the lesson's reading at readingPath and the published key keyFile are readable and from
// two publications (the key records another reading).
bool PublicationsMismatched(const QString& readingPath, const QString& keyFile);

// The teacher's words for a reading that does not fit its published key, naming both files.
QString MismatchedPublication(const QString& readingPath, const QString& keyPath);
