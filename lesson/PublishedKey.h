#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The published key: the copy of a lesson's answer key that the class gets, so that no answer or
// feedback can be read in it with a text editor, a word processor or a search, and any change to
// it is noticed. It holds exactly the plain key's bytes, so it gives the same lines.
//
// It keeps the answers out of casual sight only: the student's program must read it on the
// student's own computer, so the secret it is sealed with ships inside the program, and whoever
// writes a program can read it too.
//
// Layout, version 2 (written) and version 1 (still read: class folders keep such files):
//   "DORVALIA-CLAVE 2\n"      readable header: the magic, the version in decimal, a line feed
//   nonce                     16 random bytes, new for every file
//   length                    the body's length in bytes, 8 bytes big-endian
//   ciphertext                the body XOR the key stream, `length` bytes
//   tag                       32 bytes
// The body of version 2 is
//   flags                     1 byte: bit 0 set when the students may listen to the reading
//                             read aloud; the other bits are 0
//   name length               2 bytes big-endian: the lesson's name's length in UTF-8 bytes
//   name                      the lesson's name in UTF-8, as its files are named
//   key                       the plain key's bytes
// and that of version 1 the plain key's bytes alone (a lesson bound to no name, listening allowed).
// with, HMAC being HMAC-SHA256 and S the program's secret:
//   Kenc = HMAC(S, "dorvalia clave cifrado 1"), Kmac = HMAC(S, "dorvalia clave autenticidad 1")
//   key stream = HMAC(Kenc, nonce || be64(0)) || HMAC(Kenc, nonce || be64(1)) || ...
//   tag = HMAC(Kmac, header || nonce || length || ciphertext)
// HMAC as a pseudo-random function in counter mode, then encrypt-then-MAC over everything before
// the tag; the tag is checked before a byte is deciphered.

inline const QString kPublishedKeySuffix = QStringLiteral("_CRJ.dvk");

QString PublishedKeyName(const QString& lesson);
// The published key beside a key path that ends in the key's suffix; empty for any other path.
QString PublishedKeyPathFor(const QString& keyPath);
// Whether the path names a published key (by its suffix, in any letter case).
bool IsPublishedKey(const QString& path);

// What a published file holds besides its sealing.
struct SealedKey {
    QByteArray key;        // the plain key's bytes
    QString lesson;        // the lesson it was published for; empty in a version 1 file
    bool listening = true; // whether the students may have the reading read aloud
};

// The published file's bytes for the plain key's bytes of the lesson, with a fresh nonce.
QByteArray SealKey(const QByteArray& plain, const QString& lesson, bool listening = true);
// What a published file's bytes hold. A file that is empty, of another format or version, cut
// short, changed in any byte, or published for another lesson than the one its name (path's
// file name) gives is refused whole with ToolkitError, its Spanish message naming path.
SealedKey OpenSealedKey(const QByteArray& sealed, const QString& path);
// The plain key's bytes of OpenSealedKey.
QByteArray UnsealKey(const QByteArray& sealed, const QString& path);

// Reads the published key at path: the plain key's bytes. Throws ToolkitError as UnsealKey does,
// or "Cannot open file %s" when the file cannot be opened.
QByteArray ReadPublishedKey(const QString& path);
// The whole published key at path, as OpenSealedKey gives it; throws as ReadPublishedKey does.
SealedKey ReadSealedKey(const QString& path);
// The published key's lines, as the plain key's file gives them.
QStringList ReadPublishedKeyLines(const QString& path);

// The file that a lesson's key is read from, keyPath being the key as the lesson names it: the
// plain key when a file has its name in any letter case; otherwise the published key when there
// is one; otherwise keyPath itself, whose opening then fails.
QString KeyFileToRead(const QString& keyPath);
// The published key that a plain key read by KeyFileToRead hides: the file beside keyPath with the
// published key's name in any letter case; empty when there is none. Anyone may drop a plain key
// into a class's folder, and the student's program then reads it instead of the published one.
QString PublishedKeyHiddenBy(const QString& keyPath);
// The lines of a key file that KeyFileToRead gave, plain or published, as the student's program
// reads them. Throws ToolkitError: "Cannot open file %s" or the published key's refusal.
QStringList ReadKeyFileLines(const QString& file);

// Whether the lesson whose key is read from file (as KeyFileToRead gave it) may be read aloud to
// the students: a plain key always allows it; a published key says so itself, and one that
// cannot be read does not allow it.
bool KeyFileAllowsListening(const QString& file);
