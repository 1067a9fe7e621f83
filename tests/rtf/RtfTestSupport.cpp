#include "tests/rtf/RtfTestSupport.h"

#include "platform/rtf/DocumentFile.h"
#include "platform/rtf/RtfReader.h"

#include <QFile>
#include <QTextCursor>

#include <gtest/gtest.h>

std::unique_ptr<QTextDocument> readDoc(const QByteArray& rtf) {
    auto doc = std::make_unique<QTextDocument>();
    readRtf(rtf, *doc);
    return doc;
}

QString rtfText(const QByteArray& rtf) {
    return DocumentFile::plainText(*readDoc(rtf));
}

static QTextCursor cursorAt(const QTextDocument& doc, const QString& text) {
    const QTextCursor found = doc.find(text);
    EXPECT_FALSE(found.isNull()) << "not in the document: " << text.toStdString();
    QTextCursor cursor(const_cast<QTextDocument*>(&doc));
    cursor.setPosition(found.isNull() ? 0 : found.selectionStart() + 1);
    return cursor;
}

QTextCharFormat charFormatOf(const QTextDocument& doc, const QString& text) {
    return cursorAt(doc, text).charFormat();
}

QTextBlockFormat blockFormatOf(const QTextDocument& doc, const QString& text) {
    return cursorAt(doc, text).blockFormat();
}

QString dataFile(const QString& name) {
    return QStringLiteral(DORVALIA_RTF_DATA) + u'/' + name;
}

QByteArray readDataFile(const QString& name) {
    QFile file(dataFile(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}
