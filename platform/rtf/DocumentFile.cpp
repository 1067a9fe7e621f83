#include "platform/rtf/DocumentFile.h"

#include "platform/core/Ansi.h"
#include "platform/core/RegularFile.h"
#include "platform/core/ToolkitError.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/TextShaping.h"

#include <QFile>
#include <QStringDecoder>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Text files from Notepad may be UTF-16 with a byte-order mark; everything else is what
// decodeTeacherText says.
QString decodePlain(QByteArrayView bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                          : QStringDecoder::Utf16BE);
        return utf16.decode(bytes.sliced(2));
    }
    return decodeTeacherText(bytes);
}

void setPlainText(QTextDocument& document, QString text) {
    // A NUL is no character of a text file; dropping it keeps the rest of the file.
    text.remove(QChar(0));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    if (text.endsWith(u'\n'))
        text.chop(1);
    document.setUndoRedoEnabled(false);
    QTextCharFormat format;
    if (!TextShaping::needed(text))
        TextShaping::allowSimple(format);
    QTextCursor(&document).insertText(text, format);
}

} // namespace

namespace DocumentFile {

std::unique_ptr<QTextDocument> load(const QString& path) {
    QFile file(path);
    if (!openRegularFileForReading(file))
        throw ToolkitError::cannotOpenFile(path);
    if (file.size() > kMaxFileSize)
        throw ToolkitError::failedToLoadStream();
    QByteArray bytes = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxFileSize)
        throw ToolkitError::failedToLoadStream();
    return fromBytes(bytes);
}

std::unique_ptr<QTextDocument> fromBytes(QByteArrayView bytes) {
    auto document = std::make_unique<QTextDocument>();
    if (looksLikeRtf(bytes))
        readRtf(bytes, *document);
    else
        setPlainText(*document, decodePlain(bytes));
    return document;
}

QString plainText(const QTextDocument& document) {
    return document.toPlainText();
}

} // namespace DocumentFile
