#include "platform/rtf/RtfInterpreter.h"

#include "platform/rtf/CodePage.h"
#include "platform/rtf/TextShaping.h"

// Words of the text itself: breaks, special characters, footnote marks, and the cells and rows
// of tables.
void RtfInterpreter::tableWord(Kw kw, bool, int param) {
    const RtfDest d = dest();
    switch (kw) {
    case Kw::k_par:
        if (d == RtfDest::Text)
            endParagraph();
        break;
    case Kw::k_page:
    case Kw::k_sect:
        // A break between paragraphs; an empty paragraph gets no extra line from it.
        flushBytes();
        if (d == RtfDest::Text && !(out_.paragraphEmpty() && run_.isEmpty()))
            endParagraph();
        break;
    case Kw::k_line:
        emitUnit(QChar::LineSeparator);
        break;
    case Kw::k_tab:
        emitUnit(u'\t');
        break;
    case Kw::k_lquote:
        emitUnit(0x2018);
        break;
    case Kw::k_rquote:
        emitUnit(0x2019);
        break;
    case Kw::k_ldblquote:
        emitUnit(0x201C);
        break;
    case Kw::k_rdblquote:
        emitUnit(0x201D);
        break;
    case Kw::k_emdash:
        emitUnit(0x2014);
        break;
    case Kw::k_endash:
        emitUnit(0x2013);
        break;
    case Kw::k_bullet:
        emitUnit(0x2022);
        break;
    case Kw::k_emspace:
        emitUnit(0x2003);
        break;
    case Kw::k_enspace:
        emitUnit(0x2002);
        break;
    case Kw::k_qmspace:
        emitUnit(0x2005);
        break;
    case Kw::k_zwj:
        emitUnit(0x200D);
        break;
    case Kw::k_zwnj:
        emitUnit(0x200C);
        break;
    case Kw::k_chftn:
        if (d == RtfDest::Text && !top().chars.hidden)
            emitText(QString::number(++footnotes_));
        break;
    case Kw::k_trowd:
        rowCells_ = 0;
        break;
    case Kw::k_cellx:
        if (rowCells_ < DocumentBuilder::kMaxColumns)
            ++rowCells_;
        break;
    case Kw::k_cell:
        if (d != RtfDest::Text)
            break;
        if (top().para.nesting > 1) {
            emitUnit(u'\t');
            break;
        }
        prepareContent();
        flushBytes();
        flushRun();
        if (out_.inTable())
            out_.endCell(blockFormat(top().para), charFormat(top().chars));
        else
            emitUnit(u'\t');
        labelDone_ = listChecked_ = false;
        break;
    case Kw::k_nestcell:
        if (d == RtfDest::Text)
            emitUnit(u'\t');
        break;
    case Kw::k_nestrow:
        if (d == RtfDest::Text)
            endParagraph();
        break;
    case Kw::k_row:
        if (d != RtfDest::Text)
            break;
        flushBytes();
        flushRun();
        if (top().para.nesting > 1) {
            endParagraph();
            break;
        }
        if (out_.inTable())
            out_.endRow(blockFormat(top().para), charFormat(top().chars));
        labelDone_ = listChecked_ = false;
        break;
    default:
        (void)param;
        break;
    }
}

void RtfInterpreter::emitBytes(QByteArrayView bytes) {
    const int codePage = codePageOf(top().chars);
    if (CodePage::isSingleByte(codePage)) {
        // Each byte is a character of its own: decoded straight onto the run.
        flushBytes();
        if (dest() == RtfDest::Text && !pendingHigh_) {
            prepareContent();
            startRun();
            CodePage::decodeAppend(codePage, bytes, run_);
            return;
        }
        decoded_.resize(0);
        CodePage::decodeAppend(codePage, bytes, decoded_);
        emitText(decoded_);
        return;
    }
    if (!pendingBytes_.isEmpty() && codePage != pendingCodePage_)
        flushBytes();
    if (pendingBytes_.isEmpty()) {
        // The paragraph's table and list label come before its first character.
        prepareContent();
        pendingCodePage_ = codePage;
    }
    pendingBytes_.append(bytes);
}

void RtfInterpreter::emitUnit(char16_t unit) {
    if (!showsText() || top().chars.hidden)
        return;
    const QChar c(unit);
    emitText(QStringView(&c, 1));
}

void RtfInterpreter::emitText(QStringView text) {
    flushBytes();
    if (dest() == RtfDest::ListLabel) {
        // Held until the paragraph's own properties are known: a label is written before the
        // \pard of its paragraph, and may belong in a table cell that is not entered yet.
        if (label_.isEmpty())
            labelProps_ = top().chars;
        if (label_.size() < 256)
            label_ += text;
        return;
    }
    prepareContent();
    if (pendingHigh_ && !(text.size() == 2 && text[0] == QChar(pendingHigh_))) {
        pendingHigh_ = 0;
        emitText(QString(QChar(0xFFFD)));
    }
    startRun();
    run_ += text;
}

// The run takes text in the group's properties: a run in other properties goes out first.
void RtfInterpreter::startRun() {
    if (run_.isEmpty() || !(runProps_ == top().chars)) {
        flushRun();
        runProps_ = top().chars;
    }
}

void RtfInterpreter::flushBytes() {
    if (pendingBytes_.isEmpty())
        return;
    decoded_.resize(0); // resize keeps the memory that clear() would give back
    CodePage::decodeAppend(pendingCodePage_, pendingBytes_, decoded_);
    pendingBytes_.resize(0);
    emitText(decoded_);
}

void RtfInterpreter::flushRun() {
    if (run_.isEmpty())
        return;
    const CharFormats& formats = charFormats(runProps_);
    if (TextShaping::needed(run_))
        out_.appendText(run_, formats.format, formats.id);
    else
        out_.appendText(run_, formats.simple, formats.id + 1);
    run_.resize(0);
}

// Before the first content of a paragraph: enter or leave a table as the paragraph says, and
// give a list item the label that its writer did not write.
void RtfInterpreter::prepareContent() {
    if (dest() == RtfDest::ListLabel)
        return;
    const RtfParaProps& para = top().para;
    const bool wantTable = para.inTable || para.nesting > 0;
    if (wantTable != out_.inTable()) {
        flushRun();
        if (wantTable)
            out_.enterTable(rowCells_);
        else
            out_.leaveTable();
    }
    if (!label_.isEmpty()) {
        flushRun();
        run_ = label_;
        runProps_ = labelProps_;
        label_.clear();
    }
    if (listChecked_ || dest() != RtfDest::Text)
        return;
    listChecked_ = true;
    if (para.listOverride <= 0 && para.legacyList <= 0)
        return;
    QString label;
    if (para.listOverride > 0)
        label = lists_.next(para.listOverride, para.listLevel);
    if (label.isEmpty() && para.legacyList > 0)
        label = lists_.nextLegacy(para.legacyList);
    if (labelDone_ || label.isEmpty())
        return;
    labelDone_ = true;
    startRun();
    run_ += label;
}

void RtfInterpreter::endParagraph() {
    flushBytes();
    if (pendingHigh_) {
        pendingHigh_ = 0;
        emitText(QString(QChar(0xFFFD)));
    }
    prepareContent();
    flushRun();
    out_.endParagraph(blockFormat(top().para), charFormat(top().chars));
    labelDone_ = listChecked_ = false;
}
