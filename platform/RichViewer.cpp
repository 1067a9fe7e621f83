#include "platform/RichViewer.h"

#include "platform/rtf/DocumentFile.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

RichViewer::RichViewer(QWidget* parent) : QTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setUndoRedoEnabled(false);
    showDocument(new QTextDocument(this));
}

void RichViewer::showDocument(QTextDocument* document) {
    // QTextEdit deletes the document it made itself; the ones given to it are the viewer's.
    QTextDocument* old = shown_;
    document->setParent(this);
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(font());
    setDocument(document);
    shown_ = document;
    delete old;
    connect(document, &QTextDocument::contentsChanged, this, [this] { forget(); });
    forget();
    moveCursor(QTextCursor::Start);
}

void RichViewer::load(const QString& path) {
    std::unique_ptr<QTextDocument> document = DocumentFile::load(path);
    showDocument(document.release());
}

void RichViewer::showPlainLine(const QString& line) {
    auto* document = new QTextDocument;
    QTextCursor(document).insertText(line);
    showDocument(document);
}

void RichViewer::forget() const {
    linesValid_ = false;
    textValid_ = false;
}

void RichViewer::resizeEvent(QResizeEvent* event) {
    QTextEdit::resizeEvent(event);
    forget();
}

// A QTextEdit lays its document out only once it is shown; the lesson counts lines before that.
// The text width is the viewport's either way, as QTextEdit itself sets it when shown.
void RichViewer::layOut() const {
    // A hidden widget that was resized has not placed its viewport yet: show() would send it the
    // resize event first, and so does this.
    auto* self = const_cast<RichViewer*>(this);
    if (testAttribute(Qt::WA_PendingResizeEvent)) {
        QResizeEvent event(size(), QSize());
        QCoreApplication::sendEvent(self, &event);
        self->setAttribute(Qt::WA_PendingResizeEvent, false);
    }
    QTextDocument* doc = document();
    const qreal width = viewport()->width();
    if (linesValid_ && doc->textWidth() == width)
        return;
    if (doc->textWidth() != width)
        doc->setTextWidth(width);
    doc->documentLayout()->documentSize(); // finishes the layout of every block

    lineStarts_.clear();
    blockPositions_.clear();
    int total = 0;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        lineStarts_.push_back(total);
        blockPositions_.push_back(block.position());
        const QTextLayout* layout = block.layout();
        const int lines = layout ? layout->lineCount() : 0;
        // A block always shows as at least one line, even an empty one.
        total += std::max(lines, block.isVisible() ? 1 : 0);
    }
    lineStarts_.push_back(total);
    linesValid_ = true;
}

int RichViewer::lineCount() const {
    layOut();
    return lineStarts_.back();
}

QString RichViewer::line(int index) const {
    layOut();
    if (index < 0 || index >= lineStarts_.back())
        return {};
    const auto it = std::upper_bound(lineStarts_.begin(), lineStarts_.end() - 1, index) - 1;
    const std::size_t blockIndex = std::size_t(it - lineStarts_.begin());
    const QTextBlock block = document()->findBlock(blockPositions_[blockIndex]);
    const QString text = block.text();
    const QTextLayout* layout = block.layout();
    const int lineInBlock = index - *it;
    QString result;
    if (layout && lineInBlock < layout->lineCount()) {
        const QTextLine textLine = layout->lineAt(lineInBlock);
        result = text.mid(textLine.textStart(), textLine.textLength());
    } else {
        result = text;
    }
    while (result.endsWith(QChar::LineSeparator) || result.endsWith(u'\n'))
        result.chop(1);
    result.truncate(kMaxLineLength);
    result.replace(QChar::Nbsp, u' ');
    return result;
}

QString RichViewer::plainText() const {
    if (!textValid_) {
        plainText_ = DocumentFile::plainText(*document());
        textValid_ = true;
    }
    return plainText_;
}

int RichViewer::textLength() const {
    return int(plainText().size());
}

int RichViewer::find(const QString& what, int start, int length) const {
    const QString& text = plainText();
    if (what.isEmpty())
        return -1;
    const qsizetype size = text.size();
    const qsizetype from = std::clamp<qsizetype>(start, 0, size);
    // A negative length searches to the end, as the viewer's range end of -1 does.
    const qsizetype to =
        length < 0 ? size : std::clamp<qsizetype>(qsizetype(start) + length, from, size);
    const qsizetype found = QStringView(text).first(to).indexOf(what, from, Qt::CaseInsensitive);
    return found < 0 ? -1 : int(found);
}

void RichViewer::setSelection(int start, int length) {
    QTextCursor cursor(document());
    const int last = document()->characterCount() - 1;
    const int anchor = std::clamp(start, 0, last);
    const int position = int(std::clamp<qint64>(qint64(start) + length, 0, last));
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

int RichViewer::selectionStart() const {
    return textCursor().selectionStart();
}

int RichViewer::selectionLength() const {
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void RichViewer::scrollCaretIntoView() {
    layOut();
    ensureCursorVisible();
}
