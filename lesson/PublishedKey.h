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
// Layout, version 3 (written), and versions 2 and 1 (still read: class folders keep such files):
//   "DORVALIA-CLAVE 3\n"      readable header: the magic, the version in decimal, a line feed
//   nonce                     16 random bytes, new for every file
//   length                    the body's length in bytes, 8 bytes big-endian
//   ciphertext                the body XOR the key stream, `length` bytes
//   tag                       32 bytes
// The body of version 3 is
//   flags                     1 byte: bit 0 set when the students may listen to the reading
//                             read aloud; bit 1 set for an exam (one accepted answer per
//                             question); bit 2 set when an exam holds the feedback until the
//                             student ends the lesson (only with bit 1); the other bits are 0
//   reading digest            32 bytes: the SHA-256 of the reading's bytes published with it
//   name length               2 bytes big-endian: the lesson's name's length in UTF-8 bytes
//   name                      the lesson's name in UTF-8, as its files are named
//   key                       the plain key's bytes
// that of version 2 the same without the reading digest, with bit 0 the only flag, and that of
// version 1 the plain key's bytes alone (a lesson bound to no name, listening allowed).
inline const QString kPublishedKeySuffix = QStringLiteral("_CRJ.dvk");

QString PublishedKeyName(const QString& lesson);
// The published key beside a key path that ends in the key's suffix; empty for any other path.
QString PublishedKeyPathFor(const QString& keyPath);
// Whether the path names a published key (by its suffix, in any letter case).
bool IsPublishedKey(const QString& path);

// What a key file holds: the plain key's bytes and, for a published key, what the teacher chose
// when publishing it. A plain key gives the defaults.
struct SealedKey {
    QByteArray key;             // the plain key's bytes
    QString lesson;             // the lesson it was published for; empty in a version 1 file
    bool listening = true;      // whether the students may have the reading read aloud
    bool exam = false;          // one accepted answer per question, then the question is closed
    bool feedbackAtEnd = false; // an exam's feedback held until the student ends the lesson
    QByteArray readingDigest;   // the reading it was published with (ReadingDigest); empty in a
                                // plain key and in files of versions 1 and 2
};

// The published file's bytes for what is given (a fresh nonce every time; the lesson's name is
// taken from `lesson`, the reading digest as given, the feedback held only in an exam).
QByteArray SealKey(const SealedKey& published);
// The same for a key published without a reading digest, as the tests of old files make them.
QByteArray SealKey(const QByteArray& plain, const QString& lesson, bool listening = true);
// What a published file's bytes hold. A file that is empty, of another format or version, cut
// short, changed in any byte, or published for another lesson than the one its name (path's
// file name) gives is refused whole with ToolkitError, its Spanish message naming path.
SealedKey OpenSealedKey(const QByteArray& sealed, const QString& path);

// The one reader of a key file, plain or published (by its name, as KeyFileToRead gives it):
// the whole value. Throws ToolkitError: "Cannot open file %s", or the published key's refusal.
SealedKey ReadSealedKey(const QString& path);
// The key file's lines, as the student's program reads them.
QStringList ReadKeyFileLines(const QString& file);
// Thin forms of ReadSealedKey for a published key.
inline QByteArray ReadPublishedKey(const QString& path) {
    return ReadSealedKey(path).key;
}
inline QStringList ReadPublishedKeyLines(const QString& path) {
    return ReadKeyFileLines(path);
}
inline QByteArray UnsealKey(const QByteArray& sealed, const QString& path) {
    return OpenSealedKey(sealed, path).key;
}

// The SHA-256 of a reading's bytes, as a published key records it.
QByteArray ReadingDigest(QByteArrayView reading);

// The file that a lesson's key is read from, keyPath being the key as the lesson names it: the
// plain key when a file has its name in any letter case; otherwise the published key when there
// is one; otherwise keyPath itself, whose opening then fails.
QString KeyFileToRead(const QString& keyPath);
// The published key that a plain key read by KeyFileToRead hides: the file beside keyPath with the
// published key's name in any letter case; empty when there is none. Anyone may drop a plain key
// into a class's folder, and the student's program then reads it instead of the published one.
QString PublishedKeyHiddenBy(const QString& keyPath);

// Whether the lesson whose key is read from file (as KeyFileToRead gave it) may be read aloud to
// the students: a plain key always allows it; a published key says so itself, and one that
// cannot be read does not allow it.
bool KeyFileAllowsListening(const QString& file);
