#pragma once

#include <QImage>
#include <QString>
#include <QStringView>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

class QTextTable;

// Appends the reader's output to a QTextDocument: text runs, paragraph ends, pictures, and the
// cells and rows of simple tables. Everything goes in at the end of the document, or of the cell
// being filled, so each step is cheap. The runs of a paragraph are gathered and go in together
// (see flushText).
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

    // format is the one numbered formatId: a number stands for one format only.
    void appendText(const QString& text, const QTextCharFormat& format, int formatId);
    // Whether text has characters that Qt turns into paragraph or frame boundaries.
    static bool breaksBlocks(QStringView text);
    // Puts a picture in the text, under name among the document's resources.
    void appendImage(const QString& name, const QImage& image, double width, double height,
                     const QTextCharFormat& format);
    // Ends the paragraph being written, giving it its format.
    void endParagraph(const QTextBlockFormat& block, const QTextCharFormat& chars);
    // Whether the paragraph being written has any content yet.
    bool paragraphEmpty() const { return paragraphEmpty_; }

    // Table structure. Content of a table paragraph goes to the current cell; content of any other
    // paragraph ends the table first.
    void enterTable(int columnsHint);
    void leaveTable();
    bool inTable() const { return table_ != nullptr; }
    void endCell(const QTextBlockFormat& block, const QTextCharFormat& chars);
    void endRow(const QTextBlockFormat& block, const QTextCharFormat& chars);

    // Gives the last paragraph its format.
    void finish(const QTextBlockFormat& block, const QTextCharFormat& chars);

private:
    struct Run {
        qsizetype start, length;
        QTextCharFormat format;
        int formatId;
        int group = -1; // runs of one format have one group, if they are of the first few formats
    };

    QTextCursor& cursor();
    void flushText();
    void insertRuns();
    void insertEachRun();
    void giveBlockFormat(const QTextBlockFormat& block);
    void placeInCell();

    QTextDocument& document_;
    QTextCursor cursor_;
    bool paragraphEmpty_ = true;
    QString text_; // the paragraph's runs not yet in the document
    std::vector<Run> runs_;
    bool textBreaks_ = false; // text_ breaksBlocks()
    bool blockKnown_ = false; // the paragraph being written has knownBlock_ as its format
    QTextBlockFormat knownBlock_;
    QTextTable* table_ = nullptr;
    int row_ = 0, column_ = 0;
    bool cellPlaced_ = false;
};
