#include "teacher/WebSeal.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QtEndian>

QByteArray WebNonce() {
    QByteArray nonce(kWebNonceSize, Qt::Uninitialized);
    QRandomGenerator::system()->generate(nonce.begin(), nonce.end());
    return nonce;
}

QByteArray WebKeystreamXor(const QByteArray& bytes, const QByteArray& nonce) {
    QByteArray out = bytes;
    const QByteArray label = QByteArrayLiteral("dorvalia web 1");
    for (qsizetype at = 0; at < out.size(); at += 32) {
        char counter[4];
        qToBigEndian(quint32(at / 32), counter);
        QCryptographicHash block(QCryptographicHash::Sha256);
        block.addData(label);
        block.addData(nonce);
        block.addData(QByteArrayView(counter, 4));
        const QByteArray stream = block.result();
        for (qsizetype i = 0; i < 32 && at + i < out.size(); ++i)
            out[at + i] = char(out[at + i] ^ stream[i]);
    }
    return out;
}

QByteArray SealForWeb(const QByteArray& plain, const QByteArray& nonce) {
    return (nonce + WebKeystreamXor(plain, nonce)).toBase64();
}

QByteArray UnsealFromWeb(const QByteArray& sealed) {
    const QByteArray bytes = QByteArray::fromBase64(sealed);
    if (bytes.size() < kWebNonceSize)
        return {};
    return WebKeystreamXor(bytes.mid(kWebNonceSize), bytes.left(kWebNonceSize));
}
