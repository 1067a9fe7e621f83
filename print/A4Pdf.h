#pragma once

#include <QBuffer>
#include <QPdfWriter>
#include <QString>

#include <memory>

class QTextDocument;

// A PDF of A4 pages, put in place whole or not at all: the teacher's printed documents (the
// class's report, a student's report, the worksheet) share its page, its margins and the way it
// tells a failure. The pages are printed into memory and written in one atomic write.
class A4Pdf {
public:
    // what names the document in messages: "el informe", "la ficha".
    A4Pdf(const QString& path, const QString& what);

    // False, with the reason in failure, when the file cannot be written.
    bool open(const QString& title, QString& failure);
    // The writer, for measuring text at its resolution before the document is laid out.
    QPdfWriter& writer() { return *writer_; }
    // Prints the document and puts the file in place.
    bool print(QTextDocument& document, QString& failure);

private:
    QString path_;
    QString what_;
    QBuffer pages_;
    std::unique_ptr<QPdfWriter> writer_;
};
