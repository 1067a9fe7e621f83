#pragma once

#include "PieceTable.h"

#include <QImage>
#include <QStringView>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

class QTextTable;

// Appends the reader's output to a QTextDocument: text runs, paragraph ends, pictures, and the
// cells and rows of simple tables. Everything goes in at the end of the document, or of the cell
// being filled, so each step is cheap. Text goes into the document's piece table directly (see
// PieceTable.cpp).
class DocumentBuilder {
public:
    // Cells per row and rows per table beyond these go on in the last cell or a new table, so a
    // hostile table cannot make a layout of millions of cells.
    static constexpr int kMaxColumns = 64;
    static constexpr int kMaxRows = 5000;

    explicit DocumentBuilder(QTextDocument& document);
    ~DocumentBuilder();
    DocumentBuilder(const DocumentBuilder&) = delete;
    DocumentBuilder& operator=(const DocumentBuilder&) = delete;

    // format is the one numbered formatId: a number stands for one format only. breaks tells
    // whether text breaksBlocks().
    void appendText(QStringView text, const QTextCharFormat& format, int formatId, bool breaks);
    // Whether text has characters that Qt turns into paragraph or frame boundaries.
    static bool breaksBlocks(QStringView text);
    // Puts a picture in the text, under name among the document's resources.
    void appendImage(const QString& name, const QImage& image, double width, double height,
                     const QTextCharFormat& format);
    // Ends the paragraph being written, giving it its format.
    void endParagraph(const QTextBlockFormat& block, const QTextCharFormat& chars);

    // Table structure. Content of a table paragraph goes to the current cell; content of any other
    // paragraph ends the table first.
    void enterTable(int columnsHint);
    void leaveTable();
    void endCell(const QTextBlockFormat& block, const QTextCharFormat& chars);
    void endRow(const QTextBlockFormat& block, const QTextCharFormat& chars);

    // Gives the last paragraph its format.
    void finish(const QTextBlockFormat& block, const QTextCharFormat& chars);

private:
    QTextCursor& cursor();
    void giveBlockFormat(const QTextBlockFormat& block);
    void placeInCell();

    QTextDocument& document_;
    QTextCursor cursor_;
    PieceTable pieces_;
    int position_ = -1; // where text goes next, while the cursor is behind it; else -1
    bool paragraphEmpty_ = true;
    bool textLast_ = false; // the paragraph's last content is text, in lastFormat_
    QTextCharFormat lastFormat_;
    int lastFormatId_ = -1;
    bool blockKnown_ = false; // the paragraph being written has knownBlock_ as its format
    QTextBlockFormat knownBlock_;
    QTextTable* table_ = nullptr;
    int row_ = 0, column_ = 0;
    bool cellPlaced_ = false;
};
