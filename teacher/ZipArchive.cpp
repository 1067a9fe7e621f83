#include "teacher/ZipArchive.h"

#include <QtEndian>

#include <array>

namespace {

constexpr quint16 kVersion = 20;         // deflate, as every unzipping program reads
constexpr quint16 kUtf8Names = 1u << 11; // the names are UTF-8
constexpr quint16 kStored = 0;
constexpr quint16 kDeflated = 8;

void put16(QByteArray& out, quint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void put32(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

// qCompress gives a four-byte length, then a zlib stream: a two-byte header, the raw deflate
// data that a zip holds, and a four-byte checksum.
QByteArray deflated(const QByteArray& bytes) {
    const QByteArray zlib = qCompress(bytes, 9);
    return zlib.size() < 10 ? QByteArray() : zlib.mid(6, zlib.size() - 10);
}

struct Entry {
    QByteArray name;
    quint32 crc = 0;
    quint32 size = 0;
    quint32 packedSize = 0;
    quint16 method = kStored;
    quint32 offset = 0;
};

} // namespace

quint32 ZipCrc32(QByteArrayView bytes) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ quint8(byte)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

QByteArray ZipArchive(const QList<std::pair<QString, QByteArray>>& files, const QDateTime& when) {
    const QDate date = when.date().year() < 1980 ? QDate(1980, 1, 1) : when.date();
    const QTime time = when.time();
    const quint16 dosTime =
        quint16((time.hour() << 11) | (time.minute() << 5) | (time.second() / 2));
    const quint16 dosDate = quint16(((date.year() - 1980) << 9) | (date.month() << 5) | date.day());

    QByteArray out;
    QList<Entry> entries;
    for (const auto& [path, bytes] : files) {
        Entry entry;
        entry.name = path.toUtf8();
        entry.crc = ZipCrc32(bytes);
        entry.size = quint32(bytes.size());
        QByteArray data = deflated(bytes);
        if (!data.isEmpty() && data.size() < bytes.size()) {
            entry.method = kDeflated;
        } else {
            data = bytes;
        }
        entry.packedSize = quint32(data.size());
        entry.offset = quint32(out.size());
        put32(out, 0x04034b50);
        put16(out, kVersion);
        put16(out, kUtf8Names);
        put16(out, entry.method);
        put16(out, dosTime);
        put16(out, dosDate);
        put32(out, entry.crc);
        put32(out, entry.packedSize);
        put32(out, entry.size);
        put16(out, quint16(entry.name.size()));
        put16(out, 0);
        out += entry.name;
        out += data;
        entries.append(entry);
    }
    const quint32 directory = quint32(out.size());
    for (const Entry& entry : entries) {
        put32(out, 0x02014b50);
        put16(out, kVersion);
        put16(out, kVersion);
        put16(out, kUtf8Names);
        put16(out, entry.method);
        put16(out, dosTime);
        put16(out, dosDate);
        put32(out, entry.crc);
        put32(out, entry.packedSize);
        put32(out, entry.size);
        put16(out, quint16(entry.name.size()));
        put16(out, 0); // extra field
        put16(out, 0); // comment
        put16(out, 0); // disk
        put16(out, 0); // internal attributes
        put32(out, 0); // external attributes
        put32(out, entry.offset);
        out += entry.name;
    }
    const quint32 directorySize = quint32(out.size()) - directory;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, quint16(entries.size()));
    put16(out, quint16(entries.size()));
    put32(out, directorySize);
    put32(out, directory);
    put16(out, 0);
    return out;
}
