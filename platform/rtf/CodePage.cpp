#include "platform/rtf/CodePage.h"

#include "platform/core/Ansi.h"

#include <QStringDecoder>

#include <array>
#include <map>
#include <memory>

namespace {

// Symbol font bytes 0x20..0xFF. The letters are Greek; 0xB7 is the bullet that list labels use.
constexpr std::array<char16_t, 224> kSymbol = {
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, 0x0028, 0x0029, 0x2217, 0x002B,
    0x002C, 0x2212, 0x002E, 0x002F, 0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F, 0x2245, 0x0391, 0x0392, 0x03A7,
    0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F,
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396, 0x005B,
    0x2234, 0x005D, 0x22A5, 0x005F, 0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3,
    0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF, 0x03C0, 0x03B8, 0x03C1, 0x03C3,
    0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C, 0x007F,
    0x0080, 0x0081, 0x0082, 0x0083, 0x0084, 0x0085, 0x0086, 0x0087, 0x0088, 0x0089, 0x008A, 0x008B,
    0x008C, 0x008D, 0x008E, 0x008F, 0x0090, 0x0091, 0x0092, 0x0093, 0x0094, 0x0095, 0x0096, 0x0097,
    0x0098, 0x0099, 0x009A, 0x009B, 0x009C, 0x009D, 0x009E, 0x009F, 0x20AC, 0x03D2, 0x2032, 0x2264,
    0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193,
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022, 0x00F7, 0x2260, 0x2261, 0x2248,
    0x2026, 0x23D0, 0x23AF, 0x21B5, 0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229,
    0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209, 0x2220, 0x2207, 0x00AE, 0x00A9,
    0x2122, 0x220F, 0x221A, 0x22C5, 0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,
    0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C, 0x239D, 0x23A1, 0x23A2, 0x23A3,
    0x23A7, 0x23A8, 0x23A9, 0x23AA, 0x00F0, 0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F,
    0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0x00FF,
};

// The Wingdings glyphs that list bullets use; the rest show as a plain bullet.
char16_t wingdings(unsigned char b) {
    switch (b) {
    case 0x6C:
        return 0x25CF; // black circle
    case 0x6E:
        return 0x25A0; // black square
    case 0x6F:
        return 0x25A1; // white square
    case 0x71:
        return 0x2751; // shadowed white square
    case 0x75:
        return 0x25C6; // black diamond
    case 0x76:
        return 0x2756; // diamond minus white X
    case 0xA7:
        return 0x25AA; // small black square
    case 0xA8:
        return 0x25FB; // white medium square
    case 0xD8:
        return 0x27A2; // arrowhead
    case 0xE0:
        return 0x2192; // arrow
    case 0xFC:
        return 0x2713; // check mark
    case 0xFB:
        return 0x2717; // ballot x
    default:
        return b < 0x20 ? char16_t(b) : char16_t(0x2022);
    }
}

const char* codecName(int codePage) {
    switch (codePage) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 852:
        return "IBM852";
    case 866:
        return "IBM866";
    case 874:
        return "windows-874";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    case 10000:
        return "macintosh";
    case 20866:
        return "KOI8-R";
    case 28591:
        return "ISO-8859-1";
    case 28592:
        return "ISO-8859-2";
    case 28605:
        return "ISO-8859-15";
    case 65001:
        return "UTF-8";
    default:
        return nullptr;
    }
}

// One stateless decoder per code page, made on first use. nullptr when Qt has no converter for
// the page: its text then reads as Windows-1252 rather than disappearing.
QStringDecoder* decoderFor(int codePage) {
    thread_local std::map<int, std::unique_ptr<QStringDecoder>> decoders;
    auto it = decoders.find(codePage);
    if (it == decoders.end()) {
        std::unique_ptr<QStringDecoder> decoder;
        if (const char* name = codecName(codePage)) {
            decoder = std::make_unique<QStringDecoder>(name, QStringDecoder::Flag::Stateless);
            if (!decoder->isValid())
                decoder.reset();
        }
        it = decoders.emplace(codePage, std::move(decoder)).first;
    }
    return it->second.get();
}

} // namespace

namespace CodePage {

int fromCharset(int charset) {
    switch (charset) {
    case 2:
        return Symbol;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0; // 0 ANSI, 1 default and anything unknown: the document's code page
    }
}

void decodeAppend(int codePage, QByteArrayView bytes, QString& out) {
    if (bytes.isEmpty())
        return;
    if (codePage == Symbol) {
        for (char b : bytes) {
            const auto u = static_cast<unsigned char>(b);
            out.append(QChar(u < 0x20 ? char16_t(u) : kSymbol[u - 0x20]));
        }
        return;
    }
    if (codePage == Wingdings) {
        for (char b : bytes)
            out.append(QChar(wingdings(static_cast<unsigned char>(b))));
        return;
    }
    if (codePage != 1252 && codePage != 0) {
        if (QStringDecoder* decoder = decoderFor(codePage)) {
            out.append(decoder->decode(bytes));
            return;
        }
    }
    const qsizetype start = out.size();
    if (bytes.size() < 16) {
        // A few bytes, often one written as \'hh: a byte at a time.
        out.resize(start + bytes.size());
        QChar* p = out.data() + start;
        for (const char b : bytes)
            *p++ = ansiToChar(static_cast<unsigned char>(b));
        return;
    }
    // Windows-1252 is Latin-1 but for 0x80..0x9F: Qt's vectorized Latin-1 conversion straight into
    // out, then those few bytes mended.
    out.append(QLatin1StringView(bytes.data(), bytes.size()));
    int high = 0;
    for (const char b : bytes)
        high |= int((static_cast<unsigned char>(b) & 0xE0) == 0x80);
    if (!high)
        return;
    QChar* p = out.data() + start;
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if ((u & 0xE0) == 0x80)
            *p = ansiToChar(u);
        ++p;
    }
}

char32_t mapSymbolPrivateUse(int codePage, char32_t c) {
    if (c < 0xF020 || c > 0xF0FF)
        return c;
    const auto b = static_cast<unsigned char>(c - 0xF000);
    if (codePage == Symbol)
        return kSymbol[b - 0x20];
    if (codePage == Wingdings)
        return wingdings(b);
    return c;
}

} // namespace CodePage
