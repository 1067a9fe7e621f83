#pragma once

#include <QByteArray>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextDocument>

#include <memory>
#include <ostream>

// Reads RTF source written in a test.
std::unique_ptr<QTextDocument> readDoc(const QByteArray& rtf);
// The plain text that the viewer would give for it.
QString rtfText(const QByteArray& rtf);
// The format of the first character of the first occurrence of text (which must occur).
QTextCharFormat charFormatOf(const QTextDocument& doc, const QString& text);
QTextBlockFormat blockFormatOf(const QTextDocument& doc, const QString& text);
// A file of the test data folder.
QString dataFile(const QString& name);
QByteArray readDataFile(const QString& name);

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
