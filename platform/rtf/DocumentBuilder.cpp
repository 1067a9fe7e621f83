#include "DocumentBuilder.h"

#include <QTextBlock>
#include <QTextTable>
#include <QTextTableFormat>
#include <QUrl>

#include <algorithm>

// One pass without branches, which the compiler can vectorize: it reads every character of a
// lesson.
bool DocumentBuilder::breaksBlocks(QStringView text) {
    const char16_t* p = text.utf16();
    int found = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = p[i];
        found |= int(c == u'\n') | int(c == u'\r') | int(c == QChar::ParagraphSeparator) |
                 int((c | 1) == 0xFDD1); // frame start and end
    }
    return found != 0;
}

DocumentBuilder::DocumentBuilder(QTextDocument& document)
    : document_(document), cursor_(&document), pieces_(document) {
    cursor_.movePosition(QTextCursor::End);
    // The root frame is the document's first object, before any table, however the text goes in.
    document_.rootFrame();
    // One edit for the whole document: outside an edit block every insertion makes the cursor
    // lay out its paragraph again, which is quadratic in the paragraph's length.
    QTextCursor(&document_).beginEditBlock();
}

DocumentBuilder::~DocumentBuilder() {
    QTextCursor(&document_).endEditBlock();
}

QTextCursor& DocumentBuilder::cursor() {
    // Whatever the cursor does next may change paragraphs.
    blockKnown_ = false;
    if (position_ >= 0) {
        cursor_.setPosition(position_);
        position_ = -1;
    }
    return cursor_;
}

// Text goes straight into the piece table, which moves no cursor: the builder's cursor follows
// only when it is needed again.
void DocumentBuilder::appendText(QStringView text, const QTextCharFormat& format, int formatId,
                                 bool breaks) {
    if (text.isEmpty())
        return;
    placeInCell();
    paragraphEmpty_ = false;
    if (breaks) {
        // Qt makes paragraphs of some characters as it inserts them: such text goes in as written.
        cursor().insertText(text.toString(), format);
        textLast_ = false;
        return;
    }
    if (position_ < 0)
        position_ = cursor_.position();
    pieces_.insertText(position_, text, format, formatId);
    position_ += int(text.size());
    lastFormat_ = format;
    lastFormatId_ = formatId;
    textLast_ = true;
}

// Paragraphs in a row mostly share their format, and a new paragraph starts with the format of
// the one before it: setting it again would cost Qt an edit for nothing, and even looking it up
// costs something when the paragraph is known to have it.
void DocumentBuilder::giveBlockFormat(const QTextBlockFormat& block) {
    if (blockKnown_ && block == knownBlock_)
        return;
    if (cursor().blockFormat() != block)
        cursor_.setBlockFormat(block);
    knownBlock_ = block;
    blockKnown_ = true;
}

void DocumentBuilder::appendImage(const QString& name, const QImage& picture, double width,
                                  double height, const QTextCharFormat& format) {
    placeInCell();
    document_.addResource(QTextDocument::ImageResource, QUrl(name), picture);
    QTextImageFormat image;
    image.merge(format);
    image.setName(name);
    image.setWidth(width);
    image.setHeight(height);
    cursor().insertImage(image);
    textLast_ = false;
    paragraphEmpty_ = false;
}

void DocumentBuilder::endParagraph(const QTextBlockFormat& block, const QTextCharFormat& chars) {
    placeInCell();
    giveBlockFormat(block);
    if (textLast_) {
        // The break takes the format of the paragraph's last character, as the cursor gives it,
        // and the new paragraph the format of this one.
        const int position = position_ >= 0 ? position_ : cursor_.position();
        pieces_.insertBlock(position, knownBlock_, lastFormat_, lastFormatId_);
        position_ = position + 1;
    } else {
        if (paragraphEmpty_)
            cursor().setBlockCharFormat(chars);
        cursor().insertBlock();
    }
    textLast_ = false;
    paragraphEmpty_ = true;
}

void DocumentBuilder::enterTable(int columnsHint) {
    if (table_)
        return;
    textLast_ = false;
    // The table goes where the next paragraph would start. That empty paragraph is dropped,
    // unless a table or nothing at all comes before it, so that the table adds no blank line.
    if (paragraphEmpty_ && cursor().atBlockStart()) {
        const QTextBlock previous = cursor().block().previous();
        if (previous.isValid() && !QTextCursor(previous).currentTable() &&
            !QTextCursor(previous).currentFrame()->parentFrame())
            cursor().deletePreviousChar();
    }
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setCellPadding(3);
    format.setCellSpacing(0);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    const int columns = std::clamp(columnsHint, 1, kMaxColumns);
    table_ = cursor().insertTable(1, columns, format);
    row_ = 0;
    column_ = 0;
    cellPlaced_ = false;
    paragraphEmpty_ = true;
}

void DocumentBuilder::leaveTable() {
    if (!table_)
        return;
    textLast_ = false;
    table_ = nullptr;
    cursor().movePosition(QTextCursor::End);
    paragraphEmpty_ = true;
}

// Moves the cursor into the cell that the next content belongs to, adding the row or column it
// needs.
void DocumentBuilder::placeInCell() {
    if (!table_ || cellPlaced_)
        return;
    textLast_ = false;
    if (row_ >= table_->rows())
        table_->appendRows(row_ - table_->rows() + 1);
    if (column_ >= table_->columns())
        table_->appendColumns(column_ - table_->columns() + 1);
    position_ = -1;
    blockKnown_ = false;
    cursor_ = table_->cellAt(row_, column_).lastCursorPosition();
    cellPlaced_ = true;
}

void DocumentBuilder::endCell(const QTextBlockFormat& block, const QTextCharFormat& chars) {
    if (!table_)
        return;
    placeInCell();
    textLast_ = false;
    giveBlockFormat(block);
    if (paragraphEmpty_)
        cursor().setBlockCharFormat(chars);
    if (column_ + 1 < kMaxColumns) {
        ++column_;
        cellPlaced_ = false;
    } else {
        cursor().insertText(QStringLiteral("\t"));
    }
    paragraphEmpty_ = true;
}

void DocumentBuilder::endRow(const QTextBlockFormat& block, const QTextCharFormat& chars) {
    if (!table_)
        return;
    // Content after the last \cell and before \row (rare) is kept in that cell.
    if (!paragraphEmpty_)
        endCell(block, chars);
    ++row_;
    column_ = 0;
    cellPlaced_ = false;
    paragraphEmpty_ = true;
    if (row_ >= kMaxRows) {
        const int columns = table_->columns();
        leaveTable();
        enterTable(columns);
    }
}

void DocumentBuilder::finish(const QTextBlockFormat& block, const QTextCharFormat& chars) {
    leaveTable();
    textLast_ = false;
    if (!paragraphEmpty_) {
        giveBlockFormat(block);
        return;
    }
    // The file's last \par ends its last paragraph: the empty one it opened is no paragraph of
    // the text (unless a table comes before it, which needs a block after it).
    const QTextBlock previous = cursor().block().previous();
    if (previous.isValid() && !QTextCursor(previous).currentFrame()->parentFrame())
        cursor().deletePreviousChar();
    else
        cursor().setBlockCharFormat(chars);
}
