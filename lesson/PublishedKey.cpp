#include "lesson/PublishedKey.h"

#include "lesson/LessonFiles.h"
#include "platform/core/RegularFile.h"
#include "platform/core/TextList.h"
#include "platform/core/ToolkitError.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QtEndian>

#include <algorithm>

namespace {

constexpr QByteArrayView kMagic = "DORVALIA-CLAVE ";
constexpr int kVersion = 3;       // the version written
constexpr int kOldestVersion = 1; // the oldest version still read
constexpr qsizetype kNonceSize = 16;
constexpr qsizetype kLengthSize = 8;
constexpr qsizetype kTagSize = 32;
// Room for the version's digits and the line feed after the magic.
constexpr qsizetype kLongestVersion = 9;

// The program's secret. It is no secret from anyone who reads the program; it only makes the
// published file unreadable to the tools a student has at hand.
const QByteArray& secret() {
    static const QByteArray s =
        QByteArray::fromHex("7cc801fd2692e718aa3532ff99179cbf5150a380ee1a36b98c3b2bc70b245683");
    return s;
}

QByteArray hmac(const QByteArray& key, const QByteArray& message) {
    return QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Sha256);
}

const QByteArray& encryptionKey() {
    static const QByteArray k = hmac(secret(), "dorvalia clave cifrado 1");
    return k;
}

const QByteArray& authenticationKey() {
    static const QByteArray k = hmac(secret(), "dorvalia clave autenticidad 1");
    return k;
}

QByteArray bigEndian64(quint64 value) {
    QByteArray bytes(8, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray header() {
    return kMagic.toByteArray() + QByteArray::number(kVersion) + '\n';
}

constexpr char kListening = 0x01;
constexpr char kExam = 0x02;
constexpr char kFeedbackAtEnd = 0x04;
constexpr qsizetype kDigestSize = 32;
// A key sealed with no reading records this digest, which no reading has.
const QByteArray kNoDigest(kDigestSize, '\0');

// The lesson a published file's name gives: the name up to its suffix; empty for another name.
QString lessonOfPublishedName(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    if (!name.endsWith(kPublishedKeySuffix, Qt::CaseInsensitive))
        return QString();
    return name.chopped(kPublishedKeySuffix.size());
}

// The bytes XOR the key stream of the nonce: the same call enciphers and deciphers.
QByteArray applyKeyStream(QByteArrayView bytes, const QByteArray& nonce) {
    QByteArray out(bytes.size(), '\0');
    QMessageAuthenticationCode block(QCryptographicHash::Sha256, encryptionKey());
    quint64 counter = 0;
    for (qsizetype at = 0; at < bytes.size(); ++counter) {
        block.reset();
        block.addData(nonce);
        block.addData(bigEndian64(counter));
        const QByteArray stream = block.result();
        for (qsizetype i = 0; i < stream.size() && at < bytes.size(); ++i, ++at)
            out[at] = char(bytes[at] ^ stream[i]);
    }
    return out;
}

// A comparison that takes as long whichever byte differs.
bool sameTag(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

ToolkitError cutShort(const QString& path) {
    return ToolkitError(
        QStringLiteral("La clave publicada %1 está cortada: vuelva a publicar la lección")
            .arg(path));
}

ToolkitError damaged(const QString& path) {
    return ToolkitError(QStringLiteral("La clave publicada %1 está dañada o se ha cambiado a "
                                       "mano: vuelva a publicar la lección")
                            .arg(path));
}

bool allDigits(QByteArrayView text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

QString PublishedKeyName(const QString& lesson) {
    return lesson + kPublishedKeySuffix;
}

QString PublishedKeyPathFor(const QString& keyPath) {
    if (!keyPath.endsWith(kKeySuffix))
        return QString();
    return keyPath.chopped(kKeySuffix.size()) + kPublishedKeySuffix;
}

bool IsPublishedKey(const QString& path) {
    return path.endsWith(kPublishedKeySuffix, Qt::CaseInsensitive);
}

QByteArray SealKey(const SealedKey& published) {
    const QByteArray name = published.lesson.toUtf8().left(0xffff);
    char flags = published.listening ? kListening : '\0';
    if (published.exam)
        flags |= published.feedbackAtEnd ? kExam | kFeedbackAtEnd : kExam;
    QByteArray body(1, flags);
    body += published.readingDigest.size() == kDigestSize ? published.readingDigest : kNoDigest;
    body += QByteArray(2, '\0');
    qToBigEndian(quint16(name.size()), body.data() + 1 + kDigestSize);
    body += name + published.key;
    QByteArray nonce(kNonceSize, '\0');
    QRandomGenerator::system()->generate(nonce.begin(), nonce.end());
    QByteArray sealed =
        header() + nonce + bigEndian64(quint64(body.size())) + applyKeyStream(body, nonce);
    sealed += hmac(authenticationKey(), sealed);
    return sealed;
}

QByteArray SealKey(const QByteArray& plain, const QString& lesson, bool listening) {
    SealedKey published;
    published.key = plain;
    published.lesson = lesson;
    published.listening = listening;
    return SealKey(published);
}

QByteArray ReadingDigest(QByteArrayView reading) {
    return QCryptographicHash::hash(reading, QCryptographicHash::Sha256);
}

SealedKey OpenSealedKey(const QByteArray& sealed, const QString& path) {
    if (sealed.isEmpty())
        throw ToolkitError(
            QStringLiteral("La clave publicada %1 está vacía: vuelva a publicar la lección")
                .arg(path));
    if (!sealed.startsWith(kMagic))
        throw ToolkitError(
            QStringLiteral("El archivo %1 no es una clave publicada de Dorvalia").arg(path));
    const qsizetype lineEnd = sealed.indexOf('\n', kMagic.size());
    if (lineEnd < 0 || lineEnd > kMagic.size() + kLongestVersion)
        throw sealed.size() < kMagic.size() + kLongestVersion ? cutShort(path) : damaged(path);
    const QByteArray version = sealed.mid(kMagic.size(), lineEnd - kMagic.size());
    if (!allDigits(version))
        throw damaged(path);
    const qint64 number = version.toLongLong();
    if (number < kOldestVersion || number > kVersion)
        throw ToolkitError(QStringLiteral("La clave publicada %1 es de la versión %2, y este "
                                          "programa solo lee hasta la versión %3")
                               .arg(path, QString::fromLatin1(version))
                               .arg(kVersion));

    const qsizetype bodyStart = lineEnd + 1;
    const qsizetype fixed = bodyStart + kNonceSize + kLengthSize + kTagSize;
    if (sealed.size() < fixed)
        throw cutShort(path);
    const quint64 length = qFromBigEndian<quint64>(sealed.constData() + bodyStart + kNonceSize);
    const quint64 room = quint64(sealed.size() - fixed);
    if (length > room)
        throw cutShort(path);
    const QByteArray signedPart = sealed.first(sealed.size() - kTagSize);
    if (length < room ||
        !sameTag(hmac(authenticationKey(), signedPart), QByteArrayView(sealed).last(kTagSize)))
        throw damaged(path);
    const QByteArray body =
        applyKeyStream(QByteArrayView(sealed).sliced(fixed - kTagSize, qsizetype(length)),
                       sealed.mid(bodyStart, kNonceSize));
    SealedKey opened;
    if (number == 1) {
        opened.key = body;
        return opened;
    }
    // The tag held, so a body out of shape was written by no version of this program.
    const char known = number == 2 ? kListening : kListening | kExam | kFeedbackAtEnd;
    const qsizetype digestSize = number == 2 ? 0 : kDigestSize;
    const qsizetype before = 1 + digestSize + 2; // the flags, the digest and the name's length
    if (body.size() < before || (body[0] & ~known) != 0 ||
        ((body[0] & kFeedbackAtEnd) != 0 && (body[0] & kExam) == 0))
        throw damaged(path);
    const qsizetype nameSize = qFromBigEndian<quint16>(body.constData() + 1 + digestSize);
    if (body.size() < before + nameSize)
        throw damaged(path);
    opened.listening = (body[0] & kListening) != 0;
    opened.exam = (body[0] & kExam) != 0;
    opened.feedbackAtEnd = (body[0] & kFeedbackAtEnd) != 0;
    if (const QByteArray digest = body.sliced(1, digestSize); digest != kNoDigest)
        opened.readingDigest = digest;
    opened.lesson = QString::fromUtf8(body.sliced(before, nameSize));
    opened.key = body.sliced(before + nameSize);
    // Bound to its lesson: another lesson's published key renamed to this one is refused, not
    // read as this lesson's answers.
    const QString named = lessonOfPublishedName(path);
    if (!named.isEmpty() && named.compare(opened.lesson, Qt::CaseInsensitive) != 0)
        throw ToolkitError(QStringLiteral("La clave publicada %1 es de la lección «%2», no de "
                                          "«%3»: vuelva a publicar la lección")
                               .arg(path, opened.lesson, named));
    return opened;
}

SealedKey ReadSealedKey(const QString& path) {
    QFile file(path);
    if (!openRegularFileForReading(file))
        throw ToolkitError::cannotOpenFile(path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ToolkitError::cannotOpenFile(path);
    if (IsPublishedKey(path))
        return OpenSealedKey(bytes, path);
    SealedKey plain;
    plain.key = bytes;
    return plain;
}

QStringList ReadKeyFileLines(const QString& file) {
    TextList key;
    key.loadFromBytes(ReadSealedKey(file).key, TextList::Encoding::Teacher);
    return key.lines();
}

QString KeyFileToRead(const QString& keyPath) {
    const QString plain = FileByNameAnyCase(keyPath);
    if (QFileInfo::exists(plain))
        return plain;
    const QString published = PublishedKeyPathFor(keyPath);
    if (published.isEmpty())
        return keyPath;
    const QString found = FileByNameAnyCase(published);
    return QFileInfo::exists(found) ? found : keyPath;
}

QString PublishedKeyHiddenBy(const QString& keyPath) {
    if (!QFileInfo::exists(FileByNameAnyCase(keyPath)))
        return QString();
    const QString published = PublishedKeyPathFor(keyPath);
    if (published.isEmpty())
        return QString();
    const QString found = FileByNameAnyCase(published);
    return QFileInfo::exists(found) ? found : QString();
}

bool KeyFileAllowsListening(const QString& file) {
    if (!IsPublishedKey(file))
        return true;
    try {
        return ReadSealedKey(file).listening;
    } catch (const ToolkitError&) {
        return false;
    }
}
