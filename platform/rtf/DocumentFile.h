#pragma once

#include <QByteArrayView>
#include <QString>

#include <memory>

class QTextDocument;

// Reading a document file as the viewers show it: RTF when it begins as RTF, plain text otherwise.
namespace DocumentFile {

// Larger files are refused with "Failed to Load Stream": no lesson comes near it, and reading one
// would take the program's memory.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

// Throws ToolkitError: "Cannot open file %s" when the file cannot be opened, "Failed to Load
// Stream" when it cannot be read.
std::unique_ptr<QTextDocument> load(const QString& path);

// The document for bytes already read: RTF, or plain text in UTF-8 (when valid) or Windows-1252.
std::unique_ptr<QTextDocument> fromBytes(QByteArrayView bytes);

// The text as the viewer gives it: paragraphs, line breaks and table cells end with '\n',
// non-breaking spaces read as spaces, one character per document position.
QString plainText(const QTextDocument& document);

} // namespace DocumentFile
