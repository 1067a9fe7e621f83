// The text list's loading of a file, in both encodings, and the save that writes a list back.
// Besides not crashing, the loaded lines must be the file's text split at its line breaks, and a
// saved list must load back as the same lines.

#include "fuzz/FuzzSupport.h"
#include "platform/core/Ansi.h"
#include "platform/core/TextList.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace {

const ScratchFile& input() {
    static const ScratchFile file(QStringLiteral("textlist"));
    return file;
}

const ScratchFile& saved() {
    static const ScratchFile file(QStringLiteral("textlist-saved"));
    return file;
}

// The file's bytes up to a NUL, with every line break made one LF and a final break dropped:
// what the loaded lines, joined by LF, must give back.
QByteArrayView beforeNul(QByteArrayView bytes) {
    const qsizetype nul = bytes.indexOf('\0');
    return nul >= 0 ? bytes.first(nul) : bytes;
}

QByteArray expectedText(QByteArrayView bytes) {
    bytes = beforeNul(bytes);
    QByteArray text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            text += '\n';
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            text += c;
        }
    }
    if (text.endsWith('\n'))
        text.chop(1);
    return text;
}

// Line breaks, each CR LF counting once, and a last line that has none.
qsizetype lineCount(QByteArrayView bytes) {
    qsizetype count = 0;
    bool open = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            ++count;
            open = false;
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            open = true;
        }
    }
    return count + (open ? 1 : 0);
}

void checkLines(const TextList& list) {
    for (const QString& line : list.lines())
        FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    input().write(bytes);

    TextList ansi;
    ansi.loadFromFile(input().path(), TextList::Encoding::Ansi);
    checkLines(ansi);
    // Windows-1252 gives every byte one character, so the lines are the bytes themselves.
    FUZZ_CHECK(stringToAnsi(ansi.lines().join(u'\n')) == expectedText(bytes));

    TextList fromBytes;
    fromBytes.loadFromBytes(bytes, TextList::Encoding::Ansi);
    FUZZ_CHECK(fromBytes.lines() == ansi.lines());

    // Every character of a Windows-1252 line can be written back: the save loads as it was.
    ansi.saveToFile(saved().path());
    TextList reloaded;
    reloaded.loadFromFile(saved().path(), TextList::Encoding::Ansi);
    FUZZ_CHECK(reloaded.lines() == ansi.lines());

    TextList teacher;
    teacher.loadFromFile(input().path(), TextList::Encoding::Teacher);
    checkLines(teacher);
    // A teacher's file is decoded as a whole, UTF-8 or Windows-1252, after its byte-order mark:
    // a decoding never moves a line break.
    const QByteArrayView bom("\xEF\xBB\xBF");
    QByteArrayView text = beforeNul(bytes);
    if (text.startsWith(bom))
        text = text.sliced(bom.size());
    // A second mark (a file with a mark saved again as if it had none) is dropped by the UTF-8
    // decoder, and with it a line that holds nothing else.
    FUZZ_CHECK(teacher.count() == lineCount(text) ||
               (text.startsWith(bom) && teacher.count() == lineCount(text.sliced(bom.size()))));
    FUZZ_CHECK(ansi.count() == lineCount(beforeNul(bytes)));
    return 0;
}
