// The one file that uses Qt's private text document interface.
//
// A QTextCursor edit costs thousands of instructions whatever its length: it scans the text for
// paragraph breaks, looks the format up, and a change of format over a range splits fragments.
// A 1 MB lesson has some 29,000 runs of differing format; going through the cursor, building the
// document took two thirds of reading it. Here each run goes into the piece table once, with
// its format looked up once per format. Each insertion would also move the document's cursors,
// walking every slot of the set that holds them (1,600 instructions, however few there are): the
// builder keeps its one cursor in step itself, so insertions here move none (readRtf is meant for
// a new document).
//
// QTextDocumentPrivate::insert and insertBlock have had these signatures since Qt 4. A private
// interface holds only for the Qt it was built with: the Debian package depends on that very Qt
// (dpkg-shlibdeps sees the private symbols).
#include "PieceTable.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextDocument>

#include <private/qtextdocument_p.h>

PieceTable::PieceTable(QTextDocument& document) : document_(QTextDocumentPrivate::get(&document)) {}

int PieceTable::charFormatIndex(const QTextCharFormat& format, int formatId) {
    Slot& slot = indexes_[std::size_t(formatId) % indexes_.size()];
    if (slot.formatId != formatId) {
        // As QTextCursor::insertText does: an object's index is not a character's.
        QTextCharFormat plain = format;
        plain.clearProperty(QTextFormat::ObjectIndex);
        slot = {formatId, document_->formatCollection()->indexForFormat(plain)};
    }
    return slot.index;
}

void PieceTable::insertText(int position, QStringView text, const QTextCharFormat& format,
                            int formatId) {
    if (text.isEmpty())
        return;
    document_->blockCursorAdjustment = true;
    document_->insert(position, QString::fromRawData(text.data(), text.size()),
                      charFormatIndex(format, formatId));
    document_->blockCursorAdjustment = false;
}

void PieceTable::insertBlock(int position, const QTextBlockFormat& block,
                             const QTextCharFormat& chars, int charsId) {
    QTextFormatCollection* formats = document_->formatCollection();
    document_->blockCursorAdjustment = true;
    document_->insertBlock(position, formats->indexForFormat(block),
                           charFormatIndex(chars, charsId));
    document_->blockCursorAdjustment = false;
}
