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
// Layout, version 1:
//   "DORVALIA-CLAVE 1\n"      readable header: the magic, the version in decimal, a line feed
//   nonce                     16 random bytes, new for every file
//   length                    the plain key's length in bytes, 8 bytes big-endian
//   ciphertext                the plain key XOR the key stream, `length` bytes
//   tag                       32 bytes
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

// The published file's bytes for the plain key's bytes, with a fresh nonce.
QByteArray SealKey(const QByteArray& plain);
// The plain key's bytes from a published file's bytes. A file that is empty, of another format or
// version, cut short, or changed in any byte is refused whole with ToolkitError, its Spanish
// message naming path.
QByteArray UnsealKey(const QByteArray& sealed, const QString& path);

// Reads the published key at path: the plain key's bytes. Throws ToolkitError as UnsealKey does,
// or "Cannot open file %s" when the file cannot be opened.
QByteArray ReadPublishedKey(const QString& path);
// The published key's lines, as the plain key's file gives them.
QStringList ReadPublishedKeyLines(const QString& path);

// The file that a lesson's key is read from, keyPath being the key as the lesson names it: the
// plain key when a file has its name in any letter case; otherwise the published key when there
// is one; otherwise keyPath itself, whose opening then fails.
QString KeyFileToRead(const QString& keyPath);
// The lines of a key file that KeyFileToRead gave, plain or published, as the student's program
// reads them. Throws ToolkitError: "Cannot open file %s" or the published key's refusal.
QStringList ReadKeyFileLines(const QString& file);
