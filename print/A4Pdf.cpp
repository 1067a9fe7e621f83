#include "print/A4Pdf.h"

#include "platform/core/AtomicFile.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QTextDocument>

A4Pdf::A4Pdf(const QString& path, const QString& what) : path_(path), what_(what) {}

bool A4Pdf::open(const QString& title, QString& failure) {
    if (!pages_.open(QIODevice::WriteOnly)) {
        failure = QStringLiteral("No se puede preparar %1 %2")
                      .arg(what_, QDir::toNativeSeparators(path_));
        return false;
    }
    writer_ = std::make_unique<QPdfWriter>(&pages_);
    writer_->setPageSize(QPageSize(QPageSize::A4));
    // The document keeps a margin of 2 cm of its own when it prints.
    writer_->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    writer_->setTitle(title);
    writer_->setCreator(QStringLiteral("Dorvalia"));
    return true;
}

bool A4Pdf::print(QTextDocument& document, QString& failure) {
    document.print(writer_.get());
    // The writer finishes the file when it is let go.
    writer_.reset();
    pages_.close();
    return WriteFileAtomically(path_, pages_.data(), failure);
}
