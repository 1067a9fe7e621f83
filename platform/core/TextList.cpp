#include "platform/core/TextList.h"

#include "platform/core/Ansi.h"
#include "platform/core/RegularFile.h"
#include "platform/core/TextLines.h"
#include "platform/core/ToolkitError.h"

#include <QFile>

const QString& TextList::at(qsizetype index) const {
    if (index < 0 || index >= lines_.size())
        throw ToolkitError::listIndexOutOfBounds(index);
    return lines_.at(index);
}

qsizetype TextList::indexOf(const QString& text) const {
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        if (lines_.at(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QStringList splitLines(const QString& text) {
    return splitKeepingBreaks(text).lines;
}

void TextList::loadFromBytes(QByteArrayView bytes, Encoding encoding) {
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes = bytes.first(nul);
    const QString text =
        encoding == Encoding::Ansi ? ansiToString(bytes) : decodeTeacherText(bytes);
    lines_ = splitLines(text);
}

void TextList::loadFromFile(const QString& path, Encoding encoding) {
    // A key is some kilobytes; a far larger file in a class folder is nobody's key.
    constexpr qint64 kLargestList = 64 * 1024 * 1024;
    QByteArray bytes;
    QString reason;
    if (!ReadRegularFile(path, bytes, reason, kLargestList))
        throw ToolkitError::cannotOpenFile(path);
    loadFromBytes(bytes, encoding);
}

void TextList::saveToFile(const QString& path) const {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw ToolkitError::cannotCreateFile(path);
    QByteArray bytes;
    for (const QString& line : lines_) {
        bytes += stringToAnsi(line);
        bytes += "\r\n";
    }
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw ToolkitError::inputOutput(101);
}
