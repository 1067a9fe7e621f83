#include "platform/rtf/RtfInterpreter.h"

#include "platform/rtf/CodePage.h"

#include <algorithm>

namespace {

// Destinations that this reader understands even after \*.
bool isKnownStarred(Kw kw) {
    switch (kw) {
    case Kw::k_shppict:
    case Kw::k_ud:
    case Kw::k_listtable:
    case Kw::k_listoverridetable:
    case Kw::k_pn:
    case Kw::k_shprslt:
    case Kw::k_nesttableprops:
        return true;
    default:
        return false;
    }
}

} // namespace

void RtfInterpreter::run() {
    for (;;) {
        const RtfToken token = tokens_.next();
        switch (token.kind) {
        case RtfToken::Kind::End:
            flushBytes();
            flushRun();
            if (!stack_.empty())
                out_.finish(blockFormat(top().para), charFormat(top().chars));
            return;
        case RtfToken::Kind::GroupOpen:
            openGroup();
            continue;
        case RtfToken::Kind::GroupClose:
            if (!closeGroup()) {
                flushBytes();
                flushRun();
                out_.finish(blockFormat(top().para), charFormat(top().chars));
                return;
            }
            continue;
        default:
            break;
        }
        if (skipping_ || stack_.empty())
            continue;
        switch (token.kind) {
        case RtfToken::Kind::Text:
            onBytes(token.bytes);
            break;
        case RtfToken::Kind::HexByte: {
            const char byte = char(token.byte);
            onBytes(QByteArrayView(&byte, 1));
            break;
        }
        case RtfToken::Kind::ControlWord:
            onWord(lookupKeyword(token.word), token.hasParam, token.param);
            break;
        case RtfToken::Kind::ControlSymbol:
            onSymbol(token.symbol);
            break;
        case RtfToken::Kind::Binary:
            onBinary(token.bytes);
            break;
        default:
            break;
        }
    }
}

void RtfInterpreter::openGroup() {
    star_ = false;
    skipChars_ = 0; // a \uN fallback never reaches past a brace
    if (skipping_) {
        ++skipNested_;
        return;
    }
    flushBytes();
    if (stack_.empty()) {
        stack_.emplace_back();
        return;
    }
    if (stack_.size() >= kMaxDepth) {
        ++overflow_;
        return;
    }
    RtfGroupState child = top();
    switch (child.dest) {
    case RtfDest::StyleSheet:
        child.dest = RtfDest::StyleEntry;
        styles_.begin();
        break;
    case RtfDest::Upr:
        child.dest = RtfDest::UprChild;
        break;
    default:
        break;
    }
    stack_.push_back(child);
}

// Returns false when the outermost group has closed: the document ends there.
bool RtfInterpreter::closeGroup() {
    star_ = false;
    skipChars_ = 0;
    if (skipping_) {
        if (skipNested_ > 0) {
            --skipNested_;
            return true;
        }
        skipping_ = false;
    }
    flushBytes();
    if (stack_.empty())
        return true; // a '}' before the first '{'
    if (overflow_ > 0) {
        --overflow_;
        return true;
    }
    if (stack_.size() == 1) {
        // Writers put only padding after the final brace. More text followed by another '}'
        // means this one was stray: going on keeps the rest of the document.
        const qsizetype pos = tokens_.position();
        if (lastBrace_ < pos)
            return false;
        if (pos < paddingFrom_ || pos > paddingEnd_) {
            qsizetype i = pos;
            while (i < data_.size() && (isRtfSpace(data_[i]) || data_[i] == '}'))
                ++i;
            paddingFrom_ = pos;
            paddingEnd_ = i;
        }
        return paddingEnd_ < data_.size();
    }
    const RtfGroupState closing = stack_.back();
    stack_.pop_back();
    endGroup(closing, top());
    return true;
}

void RtfInterpreter::startSkipping() {
    flushBytes();
    skipping_ = true;
    skipNested_ = 0;
    star_ = false;
}

void RtfInterpreter::onBytes(QByteArrayView bytes) {
    // Fallback characters of a \uN are skipped: each byte counts as one.
    if (skipChars_ > 0) {
        const qsizetype n = std::min<qsizetype>(skipChars_, bytes.size());
        skipChars_ -= int(n);
        bytes = bytes.sliced(n);
        if (bytes.isEmpty())
            return;
    }
    star_ = false;
    switch (dest()) {
    case RtfDest::Text:
    case RtfDest::ListLabel:
        if (!top().chars.hidden)
            emitBytes(bytes);
        break;
    case RtfDest::FontTable:
        fontTableBytes(bytes);
        break;
    case RtfDest::ColorTable:
        colorTableBytes(bytes);
        break;
    case RtfDest::Picture:
        picture_.appendHex(bytes);
        break;
    case RtfDest::LevelText:
        levelTextBytes(bytes);
        break;
    case RtfDest::LegacyListText:
        legacyTextBytes(bytes);
        break;
    case RtfDest::UprChild:
        startSkipping();
        break;
    default:
        break;
    }
}

void RtfInterpreter::onBinary(QByteArrayView bytes) {
    if (skipChars_ > 0) {
        --skipChars_;
        return;
    }
    if (dest() == RtfDest::Picture)
        picture_.appendBinary(bytes);
    // Binary data anywhere else is an embedded object's: never shown, never run.
}

void RtfInterpreter::onSymbol(char symbol) {
    if (symbol == '*') {
        star_ = true;
        return;
    }
    star_ = false;
    if (dest() == RtfDest::UprChild) {
        startSkipping();
        return;
    }
    switch (symbol) {
    case '\\':
    case '{':
    case '}': {
        onBytes(QByteArrayView(&symbol, 1));
        return;
    }
    default:
        break;
    }
    if (skipChars_ > 0) {
        --skipChars_;
        return;
    }
    if (!showsText())
        return;
    switch (symbol) {
    case '~':
        emitUnit(0x00A0);
        break;
    case '_':
        emitUnit(0x2011);
        break;
    case '\n':
        if (dest() == RtfDest::Text)
            endParagraph();
        break;
    case '\t':
        emitUnit(u'\t');
        break;
    default: // \- optional hyphen, \: index subentry, \| and the rest: nothing to show
        break;
    }
}

void RtfInterpreter::onWord(Kw kw, bool hasParam, int param) {
    if (star_) {
        star_ = false;
        if (!isKnownStarred(kw)) {
            startSkipping();
            return;
        }
    }
    const RtfDest d = dest();
    if (d == RtfDest::UprChild) {
        if (kw == Kw::k_ud)
            top().dest = top().shown;
        else
            startSkipping();
        return;
    }
    if (kw == Kw::k_u) {
        onUnicode(param);
        return;
    }
    // A fallback character may be a control word (\u8220\ldblquote); the words that structure
    // the text end the fallback instead of vanishing.
    if (skipChars_ > 0) {
        switch (kw) {
        case Kw::k_par:
        case Kw::k_line:
        case Kw::k_tab:
        case Kw::k_cell:
        case Kw::k_row:
        case Kw::k_sect:
        case Kw::k_page:
        case Kw::k_pard:
        case Kw::k_plain:
            skipChars_ = 0;
            break;
        default:
            --skipChars_;
            return;
        }
    }
    if (destinationWord(kw, hasParam, param))
        return;

    switch (d) {
    case RtfDest::FontTable:
        fontTableWord(kw, param);
        return;
    case RtfDest::ColorTable:
        colorTableWord(kw, param);
        return;
    case RtfDest::StyleSheet:
        return;
    case RtfDest::StyleEntry:
        styleEntryWord(kw, hasParam, param);
        return;
    case RtfDest::ListTable:
    case RtfDest::LevelText:
        listTableWord(kw, param);
        return;
    case RtfDest::ListOverrideTable:
        listOverrideWord(kw, param);
        return;
    case RtfDest::LegacyList:
    case RtfDest::LegacyListText:
        legacyListWord(kw, param);
        return;
    case RtfDest::Picture:
        pictureWord(kw, param);
        return;
    default:
        break;
    }

    // Text read so far keeps the properties it was written with.
    flushBytes();
    if (applyFormatting(kw, hasParam, param))
        return;
    switch (kw) {
    case Kw::k_s:
    case Kw::k_cs:
        applyStyle(param);
        return;
    default:
        break;
    }
    documentWord(kw, hasParam, param);
    if (showsText())
        tableWord(kw, hasParam, param);
}

void RtfInterpreter::onUnicode(int value) {
    skipChars_ = top().unicodeSkip;
    if (value < 0)
        value += 65536;
    const char16_t unit = value < 0 || value > 0xFFFF ? char16_t(0xFFFD) : char16_t(value);
    switch (dest()) {
    case RtfDest::Text:
    case RtfDest::ListLabel:
        if (top().chars.hidden)
            return;
        flushBytes();
        if (QChar::isHighSurrogate(unit)) {
            if (pendingHigh_) {
                pendingHigh_ = 0;
                emitText(QString(QChar(0xFFFD)));
            }
            pendingHigh_ = unit;
            return;
        }
        if (QChar::isLowSurrogate(unit)) {
            if (pendingHigh_) {
                const QChar pair[] = {QChar(pendingHigh_), QChar(unit)};
                pendingHigh_ = 0;
                emitText(QString(pair, 2));
            } else {
                emitText(QString(QChar(0xFFFD)));
            }
            return;
        }
        emitUnit(char16_t(CodePage::mapSymbolPrivateUse(codePageOf(top().chars), unit)));
        break;
    case RtfDest::LevelText:
        levelTextUnit(unit);
        break;
    case RtfDest::LegacyListText:
        legacyTextUnit(unit);
        break;
    default:
        break;
    }
}
