#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <utility>

class QTextDocument;

// The pictures of a reading as the web page's files: each picture of the document once, as
// imagenes/N.png in the order they are first met.
class WebPictures {
public:
    // The page's path of the document's picture resource name; empty for a picture the reader
    // could not decode.
    QString pathOf(const QTextDocument& document, const QString& name);
    // Path inside the page and PNG bytes of each picture met.
    const QList<std::pair<QString, QByteArray>>& files() const { return files_; }

private:
    QMap<QString, QString> paths_;
    QList<std::pair<QString, QByteArray>> files_;
};

// The document's text from position start to end (positions of its plain text, one character
// each) as HTML of our own writing: paragraphs with their alignment and indents, bold, italics,
// underline, strike-through, sub- and superscript, colours and sizes, tables and pictures. Every
// text is escaped, so that markup in a lesson shows as written; no tag or attribute comes from
// the document itself.
QString ReadingHtml(const QTextDocument& document, int start, int end, WebPictures& pictures);
