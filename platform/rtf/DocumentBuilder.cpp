#include "platform/rtf/DocumentBuilder.h"

#include <QTextBlock>
#include <QTextTable>
#include <QTextTableFormat>
#include <QUrl>

#include <algorithm>
#include <array>

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
    : document_(document), cursor_(&document) {
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

QTextCursor& DocumentBuilder::cursor() {
    // Whatever the cursor does next may change paragraphs.
    blockKnown_ = false;
    return cursor_;
}

void DocumentBuilder::appendText(const QString& text, const QTextCharFormat& format, int formatId) {
    if (text.isEmpty())
        return;
    placeInCell();
    if (!runs_.empty() && runs_.back().formatId == formatId)
        runs_.back().length += text.size();
    else
        runs_.push_back({text_.size(), text.size(), format, formatId});
    textBreaks_ = textBreaks_ || breaksBlocks(text);
    text_ += text;
    paragraphEmpty_ = false;
}

void DocumentBuilder::flushText() {
    if (runs_.empty())
        return;
    // Qt makes paragraphs of some characters as it inserts them: such runs go in as written.
    if (textBreaks_) {
        blockKnown_ = false;
        insertEachRun();
    } else {
        insertRuns();
    }
}

void DocumentBuilder::insertEachRun() {
    for (const Run& run : runs_)
        cursor_.insertText(text_.sliced(run.start, run.length), run.format);
    text_.resize(0); // keeps the memory for the next paragraph
    runs_.clear();
    textBreaks_ = false;
}

// Each insertion costs Qt thousands of instructions whatever its length, mostly in keeping its
// cursors and its fragments; changing the format of a range costs a little more than one. So a
// paragraph goes in whole, in the format of most of its runs, and only its other runs are given
// theirs afterwards, unless that makes more edits than a run at a time.
void DocumentBuilder::insertRuns() {
    // Runs of the same format, among the first few different ones, get the same group.
    constexpr int kGroups = 8;
    std::array<int, kGroups> formatOf{};
    std::array<const Run*, kGroups> firstOf{};
    std::array<int, kGroups> runsOf{};
    int groups = 0;
    for (Run& run : runs_) {
        run.group = -1;
        for (int g = 0; g < groups && run.group < 0; ++g)
            if (formatOf[std::size_t(g)] == run.formatId)
                run.group = g;
        if (run.group < 0 && groups < kGroups) {
            run.group = groups++;
            formatOf[std::size_t(run.group)] = run.formatId;
            firstOf[std::size_t(run.group)] = &run;
        }
        if (run.group >= 0)
            ++runsOf[std::size_t(run.group)];
    }
    const auto base = std::size_t(std::max_element(runsOf.begin(), runsOf.end()) - runsOf.begin());
    const auto others = qsizetype(runs_.size()) - runsOf[base];
    if (others * 5 >= (qsizetype(runs_.size()) - 1) * 4) {
        insertEachRun();
        return;
    }
    const int start = cursor_.position();
    cursor_.insertText(text_, firstOf[base]->format);
    const int end = cursor_.position();
    for (const Run& run : runs_) {
        if (run.group == int(base))
            continue;
        cursor_.setPosition(start + int(run.start));
        cursor_.setPosition(start + int(run.start + run.length), QTextCursor::KeepAnchor);
        cursor_.setCharFormat(run.format);
    }
    cursor_.setPosition(end);
    text_.resize(0);
    runs_.clear();
}

// Paragraphs in a row mostly share their format, and a new paragraph starts with the format of
// the one before it: setting it again would cost Qt an edit for nothing, and even looking it up
// costs something when the paragraph is known to have it.
void DocumentBuilder::giveBlockFormat(const QTextBlockFormat& block) {
    if (blockKnown_ && block == knownBlock_)
        return;
    if (cursor_.blockFormat() != block)
        cursor_.setBlockFormat(block);
    knownBlock_ = block;
    blockKnown_ = true;
}

void DocumentBuilder::appendImage(const QString& name, const QImage& picture, double width,
                                  double height, const QTextCharFormat& format) {
    placeInCell();
    flushText();
    document_.addResource(QTextDocument::ImageResource, QUrl(name), picture);
    QTextImageFormat image;
    image.merge(format);
    image.setName(name);
    image.setWidth(width);
    image.setHeight(height);
    cursor().insertImage(image);
    paragraphEmpty_ = false;
}

void DocumentBuilder::endParagraph(const QTextBlockFormat& block, const QTextCharFormat& chars) {
    placeInCell();
    if (!runs_.empty() && !textBreaks_) {
        // The paragraph's end goes in with its text, one insertion less. It takes the format of
        // the paragraph's last character, as insertBlock would give it, and the new paragraph
        // the format of this one.
        giveBlockFormat(block);
        text_ += QChar::ParagraphSeparator;
        ++runs_.back().length;
        insertRuns();
    } else {
        flushText();
        giveBlockFormat(block);
        if (paragraphEmpty_)
            cursor().setBlockCharFormat(chars);
        cursor().insertBlock();
    }
    paragraphEmpty_ = true;
}

void DocumentBuilder::enterTable(int columnsHint) {
    if (table_)
        return;
    flushText();
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
    flushText();
    table_ = nullptr;
    cursor().movePosition(QTextCursor::End);
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
    blockKnown_ = false;
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
    flushText();
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
