#pragma once

#include <QStringView>
#include <QTextCharFormat>

#include <utility>
#include <vector>

class QTextBlockFormat;
class QTextDocument;
class QTextDocumentPrivate;

// Inserts text into a document's piece table directly (see PieceTable.cpp for why). Each call
// leaves the document as QTextCursor::insertText and insertBlock at that position would.
class PieceTable {
public:
    explicit PieceTable(QTextDocument& document);

    // text holds no paragraph, line-feed or frame characters.
    void insertText(int position, QStringView text, const QTextCharFormat& format);
    // A paragraph break at position: the paragraph before it keeps its format, the new one takes
    // block, and the break itself is in chars.
    void insertBlock(int position, const QTextBlockFormat& block, const QTextCharFormat& chars);

private:
    int charFormatIndex(const QTextCharFormat& format);

    QTextDocumentPrivate* document_;
    // The document's index of each format met so far: a lesson uses a few dozen.
    std::vector<std::pair<QTextCharFormat, int>> indexes_;
    std::size_t lastIndex_ = 0;
};
