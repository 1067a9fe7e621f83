#include "study/VisitSeal.h"

#include <QMessageAuthenticationCode>

namespace {

// Kept in the program only: a teacher's program and a student's of the same version agree on it.
constexpr char kSealKey[] = "Dorvalia/copia-de-visita/7d3e91c4a05f2b68e1c9d4a7f03b56e2";

const QByteArray kSealStart = QByteArrayLiteral("#sello ");

QByteArray seal(const QString& registerName, const QByteArray& visit) {
    QMessageAuthenticationCode code(QCryptographicHash::Sha256, QByteArray(kSealKey));
    code.addData(registerName.toUtf8());
    code.addData("\n", 1);
    code.addData(visit);
    return code.result().toHex();
}

} // namespace

QByteArray SealVisit(const QString& registerName, const QByteArray& visit) {
    return visit + kSealStart + seal(registerName, visit) + "\r\n";
}

QByteArray SealedVisit(const QString& registerName, const QByteArray& copy) {
    // The seal line is the copy's last: 64 hexadecimal digits and CR LF after its start.
    const qsizetype sealSize = kSealStart.size() + 64 + 2;
    if (copy.size() <= sealSize || !copy.endsWith("\r\n"))
        return {};
    const qsizetype at = copy.size() - sealSize;
    if (!copy.mid(at).startsWith(kSealStart) || (at > 0 && copy.at(at - 1) != '\n'))
        return {};
    const QByteArray visit = copy.first(at);
    const QByteArray expected = seal(registerName, visit);
    const QByteArray found = copy.mid(at + kSealStart.size(), 64);
    // Every byte compared, so that the time taken says nothing of where they differ.
    unsigned char differ = 0;
    for (qsizetype i = 0; i < 64; ++i)
        differ |= static_cast<unsigned char>(expected.at(i) ^ found.at(i));
    return differ == 0 ? visit : QByteArray();
}
