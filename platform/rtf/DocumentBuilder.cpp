#include "DocumentBuilder.h"

#include <QTextBlock>
#include <QTextTable>
#include <QTextTableFormat>

#include <algorithm>
#include <array>

namespace {

// Whether text has characters that Qt's insertText turns into paragraph or frame boundaries. One
// pass without branches, which the compiler can vectorize: it reads every character of a lesson.
bool breaksBlocks(QStringView text) {
    const char16_t* p = text.utf16();
    int found = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = p[i];
        found |= int(c == u'\n') | int(c == u'\r') | int(c == QChar::ParagraphSeparator) |
                 int((c | 1) == 0xFDD1); // frame start and end
    }
    return found != 0;
}

} // namespace

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
    flushText();
    QTextCursor(&document_).endEditBlock();
}

void DocumentBuilder::appendText(const QString& text, const QTextCharFormat& format) {
    if (text.isEmpty())
        return;
    placeInCell();
    if (!runs_.empty() && runs_.back().format == format)
        runs_.back().length += text.size();
    else
        runs_.push_back({text_.size(), text.size(), format});
    text_ += text;
    paragraphEmpty_ = false;
}

void DocumentBuilder::flushText() {
    if (runs_.empty())
        return;
    // Qt makes paragraphs of some characters as it inserts them: such runs go in as written.
    if (breaksBlocks(text_))
        insertEachRun();
    else
        insertRuns();
}

void DocumentBuilder::insertEachRun() {
    for (const Run& run : runs_)
        cursor_.insertText(text_.sliced(run.start, run.length), run.format);
    text_.resize(0);
    runs_.clear();
}

// Each run goes straight into the document's piece table, and so does the paragraph's break if
// the text ends with one, as the cursor would insert them but without its per-edit work.
void DocumentBuilder::insertRuns() {
    int position = cursor_.position();
    QStringView text = text_;
    const bool ends = text.endsWith(QChar::ParagraphSeparator);
    if (ends)
        text.chop(1);
    for (const Run& run : runs_) {
        const QStringView piece = text.sliced(run.start).first(
            std::min(run.length, text.size() - run.start));
        pieces_.insertText(position, piece, run.format);
        position += int(piece.size());
    }
    if (ends)
        pieces_.insertBlock(position++, cursor_.blockFormat(), runs_.back().format);
    cursor_.setPosition(position);
    text_.resize(0);
    runs_.clear();
}

// Paragraphs in a row mostly share their format, and a new paragraph starts with the format of
// the one before it: setting it again would cost Qt an edit for nothing.
void DocumentBuilder::giveBlockFormat(const QTextBlockFormat& block) {
    if (cursor_.blockFormat() != block)
        cursor_.setBlockFormat(block);
}

void DocumentBuilder::appendImage(const QString& name, double width, double height,
                                  const QTextCharFormat& format) {
    placeInCell();
    flushText();
    QTextImageFormat image;
    image.merge(format);
    image.setName(name);
    image.setWidth(width);
    image.setHeight(height);
    cursor_.insertImage(image);
    paragraphEmpty_ = false;
}

void DocumentBuilder::endParagraph(const QTextBlockFormat& block, const QTextCharFormat& chars) {
    placeInCell();
    if (!runs_.empty() && !breaksBlocks(text_)) {
        // The paragraph's end goes in with its text, one insertion less. It takes the format of
        // the paragraph's last character, as insertBlock would give it.
        giveBlockFormat(block);
        text_ += QChar::ParagraphSeparator;
        ++runs_.back().length;
        insertRuns();
    } else {
        flushText();
        giveBlockFormat(block);
        if (paragraphEmpty_)
            cursor_.setBlockCharFormat(chars);
        cursor_.insertBlock();
    }
    paragraphEmpty_ = true;
}

void DocumentBuilder::enterTable(int columnsHint) {
    if (table_)
        return;
    flushText();
    // The table goes where the next paragraph would start. That empty paragraph is dropped,
    // unless a table or nothing at all comes before it, so that the table adds no blank line.
    if (paragraphEmpty_ && cursor_.atBlockStart()) {
        const QTextBlock previous = cursor_.block().previous();
        if (previous.isValid() && !QTextCursor(previous).currentTable() &&
            !QTextCursor(previous).currentFrame()->parentFrame())
            cursor_.deletePreviousChar();
    }
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setCellPadding(3);
    format.setCellSpacing(0);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    const int columns = std::clamp(columnsHint, 1, kMaxColumns);
    table_ = cursor_.insertTable(1, columns, format);
    row_ = 0;
    column_ = 0;
    cellPlaced_ = false;
    paragraphEmpty_ = true;
}

void DocumentBuilder::leaveTable() {
    if (!table_)
        return;
    flushText();
    table_ = nullptr;
    cursor_.movePosition(QTextCursor::End);
    paragraphEmpty_ = true;
}

// Moves the cursor into the cell that the next content belongs to, adding the row or column it
// needs.
void DocumentBuilder::placeInCell() {
    if (!table_ || cellPlaced_)
        return;
    flushText();
    if (row_ >= table_->rows())
        table_->appendRows(row_ - table_->rows() + 1);
    if (column_ >= table_->columns())
        table_->appendColumns(column_ - table_->columns() + 1);
    cursor_ = table_->cellAt(row_, column_).lastCursorPosition();
    cellPlaced_ = true;
}

void DocumentBuilder::endCell(const QTextBlockFormat& block, const QTextCharFormat& chars) {
    if (!table_)
        return;
    placeInCell();
    flushText();
    giveBlockFormat(block);
    if (paragraphEmpty_)
        cursor_.setBlockCharFormat(chars);
    if (column_ + 1 < kMaxColumns) {
        ++column_;
        cellPlaced_ = false;
    } else {
        cursor_.insertText(QStringLiteral("\t"));
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
    flushText();
    if (!paragraphEmpty_) {
        giveBlockFormat(block);
        return;
    }
    // The file's last \par ends its last paragraph: the empty one it opened is no paragraph of
    // the text (unless a table comes before it, which needs a block after it).
    const QTextBlock previous = cursor_.block().previous();
    if (previous.isValid() && !QTextCursor(previous).currentFrame()->parentFrame())
        cursor_.deletePreviousChar();
    else
        cursor_.setBlockCharFormat(chars);
}
