#include "A4Pdf.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QTextDocument>

A4Pdf::A4Pdf(const QString& path, const QString& what) : path_(path), what_(what), file_(path) {}

bool A4Pdf::open(const QString& title, QString& failure) {
    if (!file_.open(QIODevice::WriteOnly)) {
        failure = failureText();
        return false;
    }
    writer_ = std::make_unique<QPdfWriter>(&file_);
    writer_->setPageSize(QPageSize(QPageSize::A4));
    // The document keeps a margin of 2 cm of its own when it prints.
    writer_->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    writer_->setTitle(title);
    writer_->setCreator(QStringLiteral("Dorvalia"));
    return true;
}

bool A4Pdf::print(QTextDocument& document, QString& failure) {
    document.print(writer_.get());
    // The writer lets go of the file before it is put in place.
    writer_.reset();
    if (!file_.commit()) {
        failure = failureText();
        return false;
    }
    return true;
}

QString A4Pdf::failureText() const {
    return QStringLiteral("No se puede escribir %1 %2: %3")
        .arg(what_, QDir::toNativeSeparators(path_), file_.errorString());
}
