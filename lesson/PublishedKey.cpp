#include "PublishedKey.h"

#include "LessonFiles.h"
#include "RegularFile.h"
#include "TextList.h"
#include "ToolkitError.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QtEndian>

#include <algorithm>

namespace {

constexpr QByteArrayView kMagic = "DORVALIA-CLAVE ";
constexpr int kVersion = 1;
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

QByteArray SealKey(const QByteArray& plain) {
    QByteArray nonce(kNonceSize, '\0');
    QRandomGenerator::system()->generate(nonce.begin(), nonce.end());
    QByteArray sealed =
        header() + nonce + bigEndian64(quint64(plain.size())) + applyKeyStream(plain, nonce);
    sealed += hmac(authenticationKey(), sealed);
    return sealed;
}

QByteArray UnsealKey(const QByteArray& sealed, const QString& path) {
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
    if (version != QByteArray::number(kVersion))
        throw ToolkitError(QStringLiteral("La clave publicada %1 es de la versión %2, y este "
                                          "programa solo lee la versión %3")
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
    return applyKeyStream(QByteArrayView(sealed).sliced(fixed - kTagSize, qsizetype(length)),
                          sealed.mid(bodyStart, kNonceSize));
}

QByteArray ReadPublishedKey(const QString& path) {
    QFile file(path);
    if (!openRegularFileForReading(file))
        throw ToolkitError::cannotOpenFile(path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ToolkitError::cannotOpenFile(path);
    return UnsealKey(bytes, path);
}

QStringList ReadPublishedKeyLines(const QString& path) {
    TextList key;
    key.loadFromBytes(ReadPublishedKey(path), TextList::Encoding::Teacher);
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

QStringList ReadKeyFileLines(const QString& file) {
    if (IsPublishedKey(file))
        return ReadPublishedKeyLines(file);
    TextList key;
    key.loadFromFile(file, TextList::Encoding::Teacher);
    return key.lines();
}
