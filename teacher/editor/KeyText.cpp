#include "teacher/editor/KeyText.h"

#include "platform/core/Ansi.h"

#include <QStringDecoder>

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

const char* endBytes(KeyText::LineEnd end) {
    switch (end) {
    case KeyText::LineEnd::Lf:
        return "\n";
    case KeyText::LineEnd::Cr:
        return "\r";
    case KeyText::LineEnd::None:
        return "";
    case KeyText::LineEnd::CrLf:
        break;
    }
    return "\r\n";
}

bool isAscii(QByteArrayView bytes) {
    for (char b : bytes) {
        if (static_cast<unsigned char>(b) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

KeyText::LineEnd KeyText::newLineEnd() const {
    return ends.isEmpty() ? LineEnd::CrLf : ends.first();
}

KeyText readKeyText(const QByteArray& bytes) {
    KeyText key;
    QByteArrayView body(bytes);
    const qsizetype nul = body.indexOf('\0');
    if (nul >= 0) {
        key.tail = bytes.mid(nul);
        body = body.first(nul);
    }
    // The same choice as the student's program makes (decodeTeacherText), remembered for saving.
    if (body.startsWith(kBom)) {
        key.byteOrderMark = true;
        body = body.sliced(kBom.size());
    }
    QString text;
    if (!isAscii(body)) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = utf8.decode(body);
        if (!utf8.hasError())
            key.encoding = KeyText::Encoding::Utf8;
    }
    if (key.encoding == KeyText::Encoding::Windows1252)
        text = ansiToString(body);

    TextLines split = splitKeepingBreaks(text);
    key.lines = std::move(split.lines);
    key.ends = std::move(split.breaks);
    // A last line with no break is written back without one, and takes the file's break if a
    // line is added after it.
    key.finalBreak = key.ends.isEmpty() || key.ends.last() != LineBreak::None;
    if (!key.finalBreak) {
        key.ends.removeLast();
        key.ends.append(key.newLineEnd());
    }
    return key;
}

QByteArray writeKeyText(const KeyText& key) {
    QString text;
    for (qsizetype i = 0; i < key.lines.size(); ++i) {
        text += key.lines.at(i);
        if (i + 1 < key.lines.size() || key.finalBreak)
            text += QLatin1String(endBytes(key.ends.value(i, key.newLineEnd())));
    }
    QByteArray bytes = key.byteOrderMark ? kBom : QByteArray();
    bytes += key.encoding == KeyText::Encoding::Windows1252 ? stringToAnsi(text) : text.toUtf8();
    return bytes + key.tail;
}

bool fitsWindows1252(const QStringList& lines) {
    for (const QString& line : lines) {
        const QByteArray bytes = stringToAnsi(line);
        if (ansiToString(bytes) != line)
            return false;
    }
    return true;
}

QString singleLine(QString text) {
    for (QChar& c : text) {
        if (c == u'\r' || c == u'\n' || c == QChar(0x2028) || c == QChar(0x2029) || c == u'\0')
            c = u' ';
    }
    return text;
}
