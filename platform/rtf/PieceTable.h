#pragma once

#include <QStringView>
#include <QTextCharFormat>

#include <array>

class QTextBlockFormat;
class QTextDocument;
class QTextDocumentPrivate;

// Inserts text into a document's piece table directly (see PieceTable.cpp for why). Each call
// leaves the document as QTextCursor::insertText and insertBlock at that position would.
class PieceTable {
public:
    explicit PieceTable(QTextDocument& document);

    // text holds no paragraph, line-feed or frame characters. format is the one numbered
    // formatId, a number that stands for one format only.
    void insertText(int position, QStringView text, const QTextCharFormat& format, int formatId);
    // A paragraph break at position: the paragraph before it keeps its format, the new one takes
    // block, and the break itself is in chars, numbered charsId.
    void insertBlock(int position, const QTextBlockFormat& block, const QTextCharFormat& chars,
                     int charsId);

private:
    int charFormatIndex(const QTextCharFormat& format, int formatId);

    QTextDocumentPrivate* document_;
    // The document's index of the formats met lately, by their numbers.
    struct Slot {
        int formatId = -1, index = -1;
    };
    std::array<Slot, 256> indexes_{};
};
