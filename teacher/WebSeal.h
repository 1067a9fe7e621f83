#pragma once

#include <QByteArray>

// The web page's verdicts sealed as the page unseals them: base64 of the nonce followed by the
// plain bytes XORed with a keystream of SHA-256 blocks, block i = SHA-256("dorvalia web 1" ||
// nonce || i as four big-endian bytes). It keeps the answers out of casual sight in the page's
// files, as the published key does; the page holds everything needed to open it.

constexpr int kWebNonceSize = 16;

// A fresh random nonce.
QByteArray WebNonce();

// The bytes XORed with the nonce's keystream: sealing and unsealing are the same step.
QByteArray WebKeystreamXor(const QByteArray& bytes, const QByteArray& nonce);

// base64(nonce || bytes XOR keystream).
QByteArray SealForWeb(const QByteArray& plain, const QByteArray& nonce);

// The plain bytes of SealForWeb's text; empty when it is too short to hold a nonce.
QByteArray UnsealFromWeb(const QByteArray& sealed);
