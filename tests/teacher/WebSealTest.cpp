#include "teacher/WebSeal.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

// The page unseals with its own code: the committed vector, which the page's tests read too,
// holds the bytes this side seals for its nonce.
TEST(WebSeal, SealsTheCommittedVectorByteForByte) {
    QFile file(QStringLiteral(DORVALIA_SOURCE "/tests/data/stored/web-sealed.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject vector = QJsonDocument::fromJson(file.readAll()).object();
    const QByteArray nonce = QByteArray::fromHex(vector.value("nonce").toString().toLatin1());
    const QByteArray plain = vector.value("plain").toString().toUtf8();
    ASSERT_EQ(nonce.size(), kWebNonceSize);
    EXPECT_EQ(SealForWeb(plain, nonce), vector.value("sealed").toString().toLatin1());
    EXPECT_EQ(UnsealFromWeb(SealForWeb(plain, WebNonce())), plain);
    EXPECT_NE(WebNonce(), WebNonce());
}
