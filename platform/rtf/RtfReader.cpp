#include "RtfReader.h"

#include "CodePage.h"
#include "DocumentBuilder.h"
#include "ListLabels.h"
#include "RtfKeywords.h"
#include "RtfPicture.h"
#include "RtfState.h"
#include "RtfTables.h"
#include "RtfTokenizer.h"

#include <QTextDocument>
#include <QUrl>

#include <unordered_map>
#include <vector>

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0;
}

// Words that a style records and replays: character and paragraph formatting.
bool isFormatting(Kw kw) {
    switch (kw) {
    case Kw::k_b:
    case Kw::k_i:
    case Kw::k_ul:
    case Kw::k_uld:
    case Kw::k_uldb:
    case Kw::k_ulw:
    case Kw::k_ulwave:
    case Kw::k_uldash:
    case Kw::k_uldashd:
    case Kw::k_uldashdd:
    case Kw::k_ulhwave:
    case Kw::k_ulth:
    case Kw::k_ulthd:
    case Kw::k_ulthdash:
    case Kw::k_ulthdashd:
    case Kw::k_ulthdashdd:
    case Kw::k_ulthldash:
    case Kw::k_ululdbwave:
    case Kw::k_ulldash:
    case Kw::k_ulnone:
    case Kw::k_strike:
    case Kw::k_striked:
    case Kw::k_f:
    case Kw::k_fs:
    case Kw::k_cf:
    case Kw::k_cb:
    case Kw::k_highlight:
    case Kw::k_chcbpat:
    case Kw::k_super:
    case Kw::k_sub:
    case Kw::k_nosupersub:
    case Kw::k_up:
    case Kw::k_dn:
    case Kw::k_v:
    case Kw::k_caps:
    case Kw::k_scaps:
    case Kw::k_ql:
    case Kw::k_qr:
    case Kw::k_qc:
    case Kw::k_qj:
    case Kw::k_qd:
    case Kw::k_li:
    case Kw::k_ri:
    case Kw::k_fi:
    case Kw::k_lin:
    case Kw::k_rin:
    case Kw::k_sb:
    case Kw::k_sa:
    case Kw::k_sl:
    case Kw::k_slmult:
    case Kw::k_tx:
    case Kw::k_tqr:
    case Kw::k_tqc:
    case Kw::k_tqdec:
    case Kw::k_tb:
    case Kw::k_ls:
    case Kw::k_ilvl:
        return true;
    default:
        return false;
    }
}

// Destinations whose content is never shown.
bool isIgnoredDestination(Kw kw) {
    switch (kw) {
    case Kw::k_info:
    case Kw::k_header:
    case Kw::k_headerl:
    case Kw::k_headerr:
    case Kw::k_headerf:
    case Kw::k_footer:
    case Kw::k_footerl:
    case Kw::k_footerr:
    case Kw::k_footerf:
    case Kw::k_footnote:
    case Kw::k_nonesttables:
    case Kw::k_xe:
    case Kw::k_tc:
    case Kw::k_txe:
    case Kw::k_rxe:
    case Kw::k_do:
    case Kw::k_annotation:
    case Kw::k_atnid:
    case Kw::k_atnauthor:
    case Kw::k_bkmkstart:
    case Kw::k_bkmkend:
    case Kw::k_ftnsep:
    case Kw::k_ftnsepc:
    case Kw::k_aftnsep:
    case Kw::k_aftnsepc:
    case Kw::k_objdata:
    case Kw::k_objclass:
    case Kw::k_objname:
    case Kw::k_template:
    case Kw::k_filetbl:
    case Kw::k_revtbl:
    case Kw::k_background:
    case Kw::k_pnseclvl:
    case Kw::k_themedata:
    case Kw::k_colorschememapping:
    case Kw::k_datastore:
    case Kw::k_latentstyles:
    case Kw::k_generator:
    case Kw::k_pgdsctbl:
    case Kw::k_rsidtbl:
    case Kw::k_listpicture:
    case Kw::k_mmath:
    case Kw::k_fchars:
    case Kw::k_lchars:
    case Kw::k_xmlnstbl:
    case Kw::k_docvar:
    case Kw::k_private:
    case Kw::k_userprops:
    case Kw::k_comment:
    case Kw::k_fldinst:
    case Kw::k_nonshppict:
    case Kw::k_shpinst:
    case Kw::k_levelnumbers:
        return true;
    default:
        return false;
    }
}

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

bool flagOn(bool hasParam, int param) {
    return !hasParam || param != 0;
}

class Interpreter {
public:
    static constexpr std::size_t kMaxDepth = 256;

    Interpreter(QByteArrayView data, QTextDocument& document)
        : data_(data), tokens_(data), document_(document), builder_(document) {
        lastBrace_ = data.lastIndexOf('}');
    }

    void run();

private:
    RtfGroupState& top() { return stack_.back(); }
    RtfDest dest() const { return stack_.back().dest; }
    bool showsText() const { return dest() == RtfDest::Text || dest() == RtfDest::ListLabel; }

    void openGroup();
    bool closeGroup();
    void endGroup(const RtfGroupState& closing, RtfGroupState& parent);
    void startSkipping();

    void onBytes(QByteArrayView bytes);
    void onWord(Kw kw, bool hasParam, int param);
    void onSymbol(char symbol);
    void onBinary(QByteArrayView bytes);
    void onUnicode(int value);

    bool applyFormatting(Kw kw, bool hasParam, int param);
    void applyStyle(int index);
    bool destinationWord(Kw kw, bool hasParam, int param);
    void documentWord(Kw kw, bool hasParam, int param);
    void tableWord(Kw kw, bool hasParam, int param);

    // Text of the document.
    void emitBytes(QByteArrayView bytes);
    void emitText(const QString& text);
    void emitUnit(char16_t unit);
    void prepareContent();
    void flushBytes();
    void flushRun();
    void endParagraph();
    void insertPicture();

    int codePageOf(const RtfCharProps& chars) const;
    int fontCodePage(int font) const;
    QTextCharFormat charFormat(const RtfCharProps& chars);
    QTextBlockFormat blockFormat(const RtfParaProps& para) const;

    void commitFont();

    QByteArrayView data_;
    RtfTokenizer tokens_;
    QTextDocument& document_;
    DocumentBuilder builder_;
    qsizetype lastBrace_ = -1;

    std::vector<RtfGroupState> stack_;
    int overflow_ = 0; // groups opened beyond kMaxDepth, sharing the deepest state
    bool skipping_ = false;
    int skipNested_ = 0;
    bool star_ = false;
    // The first byte that is not padding at or after paddingFrom_, remembered so that a run of
    // stray closing braces is scanned once.
    qsizetype paddingFrom_ = -1, paddingEnd_ = -1;

    int documentCodePage_ = 1252;
    int defaultFont_ = -1;
    RtfFontTable fonts_;
    RtfColorTable colors_;
    RtfStyleSheet styles_;
    std::unordered_map<int, std::vector<RtfStyleWord>> resolvedStyles_;
    ListLabels lists_;
    RtfPicture picture_;
    std::size_t pictureDepth_ = 0;
    int pictureCount_ = 0;

    // The font entry being read.
    std::size_t fontTableDepth_ = 0;
    bool fontOpen_ = false;
    int fontIndex_ = 0, fontCharset_ = -1, fontCpg_ = 0;
    QByteArray fontName_;

    // The list table entry being read.
    std::size_t listDepth_ = 0, overrideDepth_ = 0;
    int overrideList_ = 0, overrideLs_ = 0;
    QString levelText_;
    int legacyFormat_ = 0, legacyStart_ = 1, legacyCodePage_ = 0;
    bool legacyAfter_ = false;
    QString legacyBefore_, legacyAfterText_;

    // Text on its way to the document.
    QByteArray pendingBytes_;
    int pendingCodePage_ = 0;
    QString run_;
    RtfCharProps runProps_;
    RtfCharProps cachedProps_;
    QTextCharFormat cachedFormat_;
    bool cacheValid_ = false;
    int skipChars_ = 0;        // \uc fallback characters still to skip
    char16_t pendingHigh_ = 0; // a high surrogate waiting for its low half

    // The paragraph being written.
    bool labelDone_ = false; // a list label was shown for it
    QString label_;          // the written label, until the paragraph's first content
    RtfCharProps labelProps_;
    bool listChecked_ = false; // its list counter was advanced
    int rowCells_ = 0;         // \cellx of the current row definition
    int footnotes_ = 0;
};

void Interpreter::run() {
    for (;;) {
        const RtfToken token = tokens_.next();
        switch (token.kind) {
        case RtfToken::Kind::End:
            flushBytes();
            flushRun();
            if (!stack_.empty())
                builder_.finish(blockFormat(top().para), charFormat(top().chars));
            return;
        case RtfToken::Kind::GroupOpen:
            openGroup();
            continue;
        case RtfToken::Kind::GroupClose:
            if (!closeGroup()) {
                flushBytes();
                flushRun();
                builder_.finish(blockFormat(top().para), charFormat(top().chars));
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

void Interpreter::openGroup() {
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
bool Interpreter::closeGroup() {
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
            while (i < data_.size() && (isSpace(data_[i]) || data_[i] == '}'))
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

void Interpreter::endGroup(const RtfGroupState& closing, RtfGroupState& parent) {
    const std::size_t depth = stack_.size() + 1; // depth of the group that closed
    switch (closing.dest) {
    case RtfDest::FontTable:
        // An entry is a group of its own; groups inside an entry (\*\panose ...) do not end it.
        if (depth == fontTableDepth_ + 1)
            commitFont();
        break;
    case RtfDest::StyleEntry:
        if (parent.dest == RtfDest::StyleSheet)
            styles_.commit();
        break;
    case RtfDest::ListTable:
        if (depth == listDepth_) {
            lists_.endList();
            listDepth_ = 0;
        }
        break;
    case RtfDest::LevelText:
        if (parent.dest != RtfDest::LevelText) {
            lists_.appendLevelText(levelText_);
            levelText_.clear();
        }
        break;
    case RtfDest::ListOverrideTable:
        if (depth == overrideDepth_) {
            lists_.mapOverride(overrideLs_, overrideList_);
            overrideDepth_ = 0;
        }
        break;
    case RtfDest::Picture:
        if (depth == pictureDepth_ && picture_.active())
            insertPicture();
        break;
    case RtfDest::LegacyList:
        if (parent.dest != RtfDest::LegacyList && parent.dest != RtfDest::LegacyListText) {
            const int id =
                lists_.addLegacy(legacyFormat_, legacyStart_, legacyBefore_, legacyAfterText_);
            parent.para.legacyList = id;
        }
        break;
    case RtfDest::ListLabel:
        if (parent.dest != RtfDest::ListLabel)
            labelDone_ = true;
        break;
    default:
        break;
    }
}

void Interpreter::startSkipping() {
    flushBytes();
    skipping_ = true;
    skipNested_ = 0;
    star_ = false;
}

void Interpreter::onBytes(QByteArrayView bytes) {
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
        for (char c : bytes) {
            if (c == ';')
                commitFont();
            else if (fontName_.size() < 256)
                fontName_.append(c);
        }
        break;
    case RtfDest::ColorTable:
        for (char c : bytes) {
            if (c == ';')
                colors_.commit();
        }
        break;
    case RtfDest::Picture:
        picture_.appendHex(bytes);
        break;
    case RtfDest::LevelText:
        for (char c : bytes) {
            if (levelText_.size() < 256)
                levelText_.append(QChar(char16_t(static_cast<unsigned char>(c))));
        }
        break;
    case RtfDest::LegacyListText: {
        QString& text = legacyAfter_ ? legacyAfterText_ : legacyBefore_;
        if (text.size() < 32)
            CodePage::decodeAppend(legacyCodePage_ ? legacyCodePage_ : documentCodePage_, bytes,
                                   text);
        break;
    }
    case RtfDest::UprChild:
        startSkipping();
        break;
    default:
        break;
    }
}

void Interpreter::onBinary(QByteArrayView bytes) {
    if (skipChars_ > 0) {
        --skipChars_;
        return;
    }
    if (dest() == RtfDest::Picture)
        picture_.appendBinary(bytes);
    // Binary data anywhere else is an embedded object's: never shown, never run.
}

void Interpreter::onSymbol(char symbol) {
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

void Interpreter::onWord(Kw kw, bool hasParam, int param) {
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
        switch (kw) {
        case Kw::k_f:
            commitFont();
            fontOpen_ = true;
            fontIndex_ = param;
            fontCharset_ = -1;
            fontCpg_ = 0;
            fontName_.clear();
            break;
        case Kw::k_fcharset:
            fontCharset_ = param;
            break;
        case Kw::k_cpg:
            fontCpg_ = param;
            break;
        default:
            break;
        }
        return;
    case RtfDest::ColorTable:
        switch (kw) {
        case Kw::k_red:
            colors_.setRed(param);
            break;
        case Kw::k_green:
            colors_.setGreen(param);
            break;
        case Kw::k_blue:
            colors_.setBlue(param);
            break;
        default:
            break;
        }
        return;
    case RtfDest::StyleSheet:
        return;
    case RtfDest::StyleEntry:
        switch (kw) {
        case Kw::k_s:
        case Kw::k_cs:
        case Kw::k_ds:
        case Kw::k_ts:
            styles_.setIndex(param);
            break;
        case Kw::k_sbasedon:
            styles_.setBasedOn(param);
            break;
        default:
            if (isFormatting(kw))
                styles_.addWord(kw, hasParam, param);
            break;
        }
        return;
    case RtfDest::ListTable:
    case RtfDest::LevelText:
        switch (kw) {
        case Kw::k_list:
            lists_.beginList();
            listDepth_ = stack_.size();
            break;
        case Kw::k_listlevel:
            lists_.beginLevel();
            break;
        case Kw::k_levelnfc:
        case Kw::k_levelnfcn:
            lists_.setLevelFormat(param);
            break;
        case Kw::k_levelstartat:
            lists_.setLevelStart(param);
            break;
        case Kw::k_levelfollow:
            lists_.setLevelFollow(param);
            break;
        case Kw::k_f:
            lists_.setLevelFont(fontCodePage(param));
            break;
        case Kw::k_listid:
            lists_.setListId(param);
            break;
        default:
            break;
        }
        return;
    case RtfDest::ListOverrideTable:
        switch (kw) {
        case Kw::k_listoverride:
            overrideDepth_ = stack_.size();
            overrideList_ = overrideLs_ = 0;
            break;
        case Kw::k_listid:
            overrideList_ = param;
            break;
        case Kw::k_ls:
            overrideLs_ = param;
            break;
        default:
            break;
        }
        return;
    case RtfDest::LegacyList:
    case RtfDest::LegacyListText:
        switch (kw) {
        case Kw::k_pnlvlblt:
            legacyFormat_ = 23;
            break;
        case Kw::k_pndec:
            legacyFormat_ = 0;
            break;
        case Kw::k_pnucrm:
            legacyFormat_ = 1;
            break;
        case Kw::k_pnlcrm:
            legacyFormat_ = 2;
            break;
        case Kw::k_pnucltr:
            legacyFormat_ = 3;
            break;
        case Kw::k_pnlcltr:
            legacyFormat_ = 4;
            break;
        case Kw::k_pnstart:
            legacyStart_ = param;
            break;
        case Kw::k_pnf:
            legacyCodePage_ = fontCodePage(param);
            break;
        default:
            break;
        }
        return;
    case RtfDest::Picture:
        switch (kw) {
        case Kw::k_pngblip:
            picture_.setKind(RtfPicture::Kind::Png);
            break;
        case Kw::k_jpegblip:
            picture_.setKind(RtfPicture::Kind::Jpeg);
            break;
        case Kw::k_wmetafile:
        case Kw::k_emfblip:
        case Kw::k_macpict:
        case Kw::k_dibitmap:
        case Kw::k_wbitmap:
        case Kw::k_pmmetafile:
            picture_.setKind(RtfPicture::Kind::Other);
            break;
        case Kw::k_picw:
            picture_.setWidth(param);
            break;
        case Kw::k_pich:
            picture_.setHeight(param);
            break;
        case Kw::k_picwgoal:
            picture_.setGoalWidth(param);
            break;
        case Kw::k_pichgoal:
            picture_.setGoalHeight(param);
            break;
        case Kw::k_picscalex:
            picture_.setScaleX(param);
            break;
        case Kw::k_picscaley:
            picture_.setScaleY(param);
            break;
        default:
            break;
        }
        return;
    default:
        break;
    }

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

// Words that open a destination. Returns true when kw was one.
bool Interpreter::destinationWord(Kw kw, bool, int) {
    RtfGroupState& group = top();
    const RtfDest d = group.dest;
    const bool textual = d == RtfDest::Text || d == RtfDest::ListLabel || d == RtfDest::Container ||
                         d == RtfDest::Upr;
    if (isIgnoredDestination(kw)) {
        startSkipping();
        return true;
    }
    switch (kw) {
    case Kw::k_fonttbl:
        group.dest = RtfDest::FontTable;
        fontTableDepth_ = stack_.size();
        return true;
    case Kw::k_colortbl:
        group.dest = RtfDest::ColorTable;
        return true;
    case Kw::k_stylesheet:
        group.dest = RtfDest::StyleSheet;
        return true;
    case Kw::k_listtable:
        group.dest = RtfDest::ListTable;
        return true;
    case Kw::k_listoverridetable:
        group.dest = RtfDest::ListOverrideTable;
        return true;
    case Kw::k_leveltext:
        if (d == RtfDest::ListTable) {
            group.dest = RtfDest::LevelText;
            levelText_.clear();
        }
        return true;
    case Kw::k_pict:
        if (picture_.active() || !textual) {
            startSkipping();
        } else {
            picture_.begin();
            pictureDepth_ = stack_.size();
            group.dest = RtfDest::Picture;
        }
        return true;
    case Kw::k_field:
    case Kw::k_object:
    case Kw::k_shp:
    case Kw::k_shppict:
        if (d == RtfDest::Text || d == RtfDest::ListLabel)
            group.shown = d;
        if (textual)
            group.dest = RtfDest::Container;
        return true;
    case Kw::k_upr:
        if (d == RtfDest::Text || d == RtfDest::ListLabel)
            group.shown = d;
        group.dest = RtfDest::Upr;
        return true;
    case Kw::k_fldrslt:
    case Kw::k_result:
    case Kw::k_shprslt:
    case Kw::k_ud:
        if (textual)
            group.dest = group.shown;
        return true;
    case Kw::k_pntext:
    case Kw::k_listtext:
        if (labelDone_ || !textual)
            startSkipping();
        else
            group.dest = RtfDest::ListLabel;
        return true;
    case Kw::k_pn:
        if (!textual) {
            startSkipping();
            return true;
        }
        group.dest = RtfDest::LegacyList;
        legacyFormat_ = 0;
        legacyStart_ = 1;
        legacyCodePage_ = 0;
        legacyBefore_.clear();
        legacyAfterText_.clear();
        return true;
    case Kw::k_pntxtb:
    case Kw::k_pntxta:
        if (d == RtfDest::LegacyList) {
            group.dest = RtfDest::LegacyListText;
            legacyAfter_ = kw == Kw::k_pntxta;
        } else {
            startSkipping();
        }
        return true;
    default:
        return false;
    }
}

void Interpreter::documentWord(Kw kw, bool hasParam, int param) {
    switch (kw) {
    case Kw::k_ansi:
        documentCodePage_ = 1252;
        break;
    case Kw::k_mac:
        documentCodePage_ = 10000;
        break;
    case Kw::k_pc:
        documentCodePage_ = 437;
        break;
    case Kw::k_pca:
        documentCodePage_ = 850;
        break;
    case Kw::k_ansicpg:
        if (hasParam && param > 0)
            documentCodePage_ = param;
        break;
    case Kw::k_deff:
        defaultFont_ = param;
        cacheValid_ = false;
        break;
    default:
        break;
    }
}

bool Interpreter::applyFormatting(Kw kw, bool hasParam, int param) {
    RtfCharProps& c = top().chars;
    RtfParaProps& p = top().para;
    const auto twips = [&] { return std::clamp(param, -31680, 31680); };
    switch (kw) {
    case Kw::k_plain:
        c = RtfCharProps{};
        break;
    case Kw::k_b:
        c.bold = flagOn(hasParam, param);
        break;
    case Kw::k_i:
        c.italic = flagOn(hasParam, param);
        break;
    case Kw::k_ul:
    case Kw::k_uld:
    case Kw::k_uldb:
    case Kw::k_ulw:
    case Kw::k_ulwave:
    case Kw::k_uldash:
    case Kw::k_uldashd:
    case Kw::k_uldashdd:
    case Kw::k_ulhwave:
    case Kw::k_ulth:
    case Kw::k_ulthd:
    case Kw::k_ulthdash:
    case Kw::k_ulthdashd:
    case Kw::k_ulthdashdd:
    case Kw::k_ulthldash:
    case Kw::k_ululdbwave:
    case Kw::k_ulldash:
        c.underline = flagOn(hasParam, param);
        break;
    case Kw::k_ulnone:
        c.underline = 0;
        break;
    case Kw::k_strike:
    case Kw::k_striked:
        c.strike = flagOn(hasParam, param);
        break;
    case Kw::k_v:
        c.hidden = flagOn(hasParam, param);
        break;
    case Kw::k_caps:
        c.caps = flagOn(hasParam, param);
        break;
    case Kw::k_scaps:
        c.smallCaps = flagOn(hasParam, param);
        break;
    case Kw::k_f:
        c.font = param;
        break;
    case Kw::k_fs:
        c.halfPoints = param > 0 ? std::min(param, 3276) : 24;
        break;
    case Kw::k_cf:
        c.color = param;
        break;
    case Kw::k_cb:
    case Kw::k_highlight:
    case Kw::k_chcbpat:
        c.highlight = param;
        break;
    case Kw::k_super:
        c.script = 1;
        break;
    case Kw::k_sub:
        c.script = -1;
        break;
    case Kw::k_nosupersub:
        c.script = 0;
        break;
    case Kw::k_up:
        c.script = !hasParam || param > 0 ? 1 : 0;
        break;
    case Kw::k_dn:
        c.script = !hasParam || param > 0 ? -1 : 0;
        break;
    case Kw::k_uc:
        top().unicodeSkip = std::clamp(param, 0, 255);
        break;
    case Kw::k_pard:
        p = RtfParaProps{};
        break;
    case Kw::k_ql:
        p.align = RtfAlign::Left;
        break;
    case Kw::k_qr:
        p.align = RtfAlign::Right;
        break;
    case Kw::k_qc:
        p.align = RtfAlign::Center;
        break;
    case Kw::k_qj:
    case Kw::k_qd:
        p.align = RtfAlign::Justify;
        break;
    case Kw::k_li:
    case Kw::k_lin:
        p.leftIndent = twips();
        break;
    case Kw::k_ri:
    case Kw::k_rin:
        p.rightIndent = twips();
        break;
    case Kw::k_fi:
        p.firstIndent = twips();
        break;
    case Kw::k_sb:
        p.spaceBefore = std::clamp(param, 0, 31680);
        break;
    case Kw::k_sa:
        p.spaceAfter = std::clamp(param, 0, 31680);
        break;
    case Kw::k_sl:
        p.lineSpacing = twips();
        break;
    case Kw::k_slmult:
        p.lineMultiple = flagOn(hasParam, param);
        break;
    case Kw::k_tqr:
        p.pendingTabKind = 1;
        break;
    case Kw::k_tqc:
        p.pendingTabKind = 2;
        break;
    case Kw::k_tqdec:
        p.pendingTabKind = 3;
        break;
    case Kw::k_tx:
    case Kw::k_tb:
        if (kw == Kw::k_tx && p.tabCount < RtfParaProps::kMaxTabs && param > 0)
            p.tabs[p.tabCount++] = {std::min(param, 31680), p.pendingTabKind};
        p.pendingTabKind = 0;
        break;
    case Kw::k_intbl:
        p.inTable = flagOn(hasParam, param);
        break;
    case Kw::k_itap:
        p.nesting = std::clamp(param, 0, 64);
        break;
    case Kw::k_ls:
        p.listOverride = param;
        break;
    case Kw::k_ilvl:
        p.listLevel = std::clamp(param, 0, ListLabels::kLevels - 1);
        break;
    default:
        return false;
    }
    return true;
}

// \sN: the style's formatting, then whatever the paragraph says itself.
void Interpreter::applyStyle(int index) {
    auto it = resolvedStyles_.find(index);
    if (it == resolvedStyles_.end())
        it = resolvedStyles_.emplace(index, styles_.resolve(index)).first;
    for (const RtfStyleWord& w : it->second)
        applyFormatting(w.word, w.hasParam, w.param);
}

void Interpreter::tableWord(Kw kw, bool, int param) {
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
        if (d == RtfDest::Text && !(builder_.paragraphEmpty() && run_.isEmpty()))
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
        if (builder_.inTable())
            builder_.endCell(blockFormat(top().para), charFormat(top().chars));
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
        if (builder_.inTable())
            builder_.endRow(blockFormat(top().para), charFormat(top().chars));
        labelDone_ = listChecked_ = false;
        break;
    default:
        (void)param;
        break;
    }
}

void Interpreter::onUnicode(int value) {
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
        if (levelText_.size() < 256)
            levelText_.append(QChar(unit));
        break;
    case RtfDest::LegacyListText: {
        QString& text = legacyAfter_ ? legacyAfterText_ : legacyBefore_;
        if (text.size() < 32)
            text.append(QChar(unit));
        break;
    }
    default:
        break;
    }
}

void Interpreter::emitBytes(QByteArrayView bytes) {
    const int codePage = codePageOf(top().chars);
    if (!pendingBytes_.isEmpty() && codePage != pendingCodePage_)
        flushBytes();
    if (pendingBytes_.isEmpty()) {
        // The paragraph's table and list label come before its first character.
        prepareContent();
        pendingCodePage_ = codePage;
    }
    pendingBytes_.append(bytes);
}

void Interpreter::emitUnit(char16_t unit) {
    if (!showsText() || top().chars.hidden)
        return;
    emitText(QString(QChar(unit)));
}

void Interpreter::emitText(const QString& text) {
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
    if (run_.isEmpty() || !(runProps_ == top().chars)) {
        flushRun();
        runProps_ = top().chars;
    }
    run_ += text;
}

void Interpreter::flushBytes() {
    if (pendingBytes_.isEmpty())
        return;
    QString text;
    CodePage::decodeAppend(pendingCodePage_, pendingBytes_, text);
    pendingBytes_.clear();
    emitText(text);
}

void Interpreter::flushRun() {
    if (run_.isEmpty())
        return;
    builder_.appendText(run_, charFormat(runProps_));
    run_.clear();
}

// Before the first content of a paragraph: enter or leave a table as the paragraph says, and
// give a list item the label that its writer did not write.
void Interpreter::prepareContent() {
    if (dest() == RtfDest::ListLabel)
        return;
    const RtfParaProps& para = top().para;
    const bool wantTable = para.inTable || para.nesting > 0;
    if (wantTable != builder_.inTable()) {
        flushRun();
        if (wantTable)
            builder_.enterTable(rowCells_);
        else
            builder_.leaveTable();
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
    if (run_.isEmpty() || !(runProps_ == top().chars)) {
        flushRun();
        runProps_ = top().chars;
    }
    run_ += label;
}

void Interpreter::endParagraph() {
    flushBytes();
    if (pendingHigh_) {
        pendingHigh_ = 0;
        emitText(QString(QChar(0xFFFD)));
    }
    prepareContent();
    flushRun();
    builder_.endParagraph(blockFormat(top().para), charFormat(top().chars));
    labelDone_ = listChecked_ = false;
}

void Interpreter::insertPicture() {
    RtfPicture::Result result = picture_.finish();
    if (result.image.isNull())
        return;
    const RtfGroupState& group = top();
    if (group.dest != RtfDest::Text && group.dest != RtfDest::ListLabel &&
        group.dest != RtfDest::Container)
        return;
    flushBytes();
    prepareContent();
    flushRun();
    const QString name = QStringLiteral("rtfpicture:%1").arg(++pictureCount_);
    document_.addResource(QTextDocument::ImageResource, QUrl(name), result.image);
    builder_.appendImage(name, result.size.width(), result.size.height(), charFormat(group.chars));
}

void Interpreter::commitFont() {
    if (!fontOpen_)
        return;
    fontOpen_ = false;
    RtfFont font;
    int codePage = fontCpg_ > 0 ? fontCpg_ : CodePage::fromCharset(fontCharset_);
    QString name;
    CodePage::decodeAppend(codePage > 0 ? codePage : documentCodePage_, fontName_.trimmed(), name);
    name = name.trimmed();
    // The two symbol fonts whose glyphs are known are mapped by name, whatever charset the
    // writer gave them; another font that calls itself a symbol font is read as ordinary text.
    if (name.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive))
        codePage = CodePage::Wingdings;
    else if (name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
        codePage = CodePage::Symbol;
    else if (codePage == CodePage::Symbol)
        codePage = 0;
    font.family = name;
    font.codePage = codePage;
    fonts_.set(fontIndex_, std::move(font));
    fontName_.clear();
    cacheValid_ = false;
}

int Interpreter::fontCodePage(int index) const {
    const RtfFont* font = fonts_.find(index);
    return font && font->codePage != 0 ? font->codePage : documentCodePage_;
}

int Interpreter::codePageOf(const RtfCharProps& chars) const {
    return fontCodePage(chars.font >= 0 ? chars.font : defaultFont_);
}

QTextCharFormat Interpreter::charFormat(const RtfCharProps& chars) {
    if (cacheValid_ && cachedProps_ == chars)
        return cachedFormat_;
    QTextCharFormat format;
    format.setFontPointSize(chars.halfPoints / 2.0);
    const RtfFont* font = fonts_.find(chars.font >= 0 ? chars.font : defaultFont_);
    // Symbol fonts have been mapped to Unicode; their glyphs must come from an ordinary font.
    if (font && !font->family.isEmpty() && font->codePage != CodePage::Symbol &&
        font->codePage != CodePage::Wingdings)
        format.setFontFamilies(QStringList{font->family});
    if (chars.bold)
        format.setFontWeight(QFont::Bold);
    if (chars.italic)
        format.setFontItalic(true);
    if (chars.underline)
        format.setFontUnderline(true);
    if (chars.strike)
        format.setFontStrikeOut(true);
    if (chars.caps)
        format.setFontCapitalization(QFont::AllUppercase);
    else if (chars.smallCaps)
        format.setFontCapitalization(QFont::SmallCaps);
    if (chars.script > 0)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (chars.script < 0)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (chars.color > 0) {
        const QColor color = colors_.at(chars.color);
        if (color.isValid())
            format.setForeground(color);
    }
    if (chars.highlight > 0) {
        const QColor color = colors_.at(chars.highlight);
        if (color.isValid())
            format.setBackground(color);
    }
    cachedProps_ = chars;
    cachedFormat_ = format;
    cacheValid_ = true;
    return format;
}

QTextBlockFormat Interpreter::blockFormat(const RtfParaProps& para) const {
    constexpr double kTwipsPerPixel = 15.0;
    QTextBlockFormat format;
    switch (para.align) {
    case RtfAlign::Left:
        format.setAlignment(Qt::AlignLeft);
        break;
    case RtfAlign::Right:
        format.setAlignment(Qt::AlignRight);
        break;
    case RtfAlign::Center:
        format.setAlignment(Qt::AlignHCenter);
        break;
    case RtfAlign::Justify:
        format.setAlignment(Qt::AlignJustify);
        break;
    }
    if (para.leftIndent > 0)
        format.setLeftMargin(para.leftIndent / kTwipsPerPixel);
    if (para.rightIndent > 0)
        format.setRightMargin(para.rightIndent / kTwipsPerPixel);
    if (para.firstIndent != 0) {
        // A hanging indent never reaches left of the page.
        const int first = std::max(para.firstIndent, -std::max(para.leftIndent, 0));
        format.setTextIndent(first / kTwipsPerPixel);
    }
    if (para.spaceBefore > 0)
        format.setTopMargin(para.spaceBefore / kTwipsPerPixel);
    if (para.spaceAfter > 0)
        format.setBottomMargin(para.spaceAfter / kTwipsPerPixel);
    if (para.lineSpacing != 0) {
        if (para.lineMultiple && para.lineSpacing > 0)
            format.setLineHeight(std::clamp(para.lineSpacing * 100.0 / 240.0, 50.0, 500.0),
                                 QTextBlockFormat::ProportionalHeight);
        else if (para.lineSpacing > 0)
            format.setLineHeight(para.lineSpacing / kTwipsPerPixel,
                                 QTextBlockFormat::MinimumHeight);
    }
    // Qt measures tab stops from where the line starts; RTF from the left margin. The first
    // line of a paragraph starts at its left indent plus its first-line indent.
    const int lineStart = std::max(para.leftIndent, 0) +
                          std::max(para.firstIndent, -std::max(para.leftIndent, 0));
    QList<QTextOption::Tab> tabs;
    for (int i = 0; i < para.tabCount; ++i) {
        const RtfTabStop& t = para.tabs[std::size_t(i)];
        if (t.twips <= lineStart)
            continue;
        const auto type = t.kind == 1   ? QTextOption::RightTab
                          : t.kind == 2 ? QTextOption::CenterTab
                          : t.kind == 3 ? QTextOption::DelimiterTab
                                        : QTextOption::LeftTab;
        tabs.append(QTextOption::Tab(double(t.twips - lineStart) / kTwipsPerPixel, type,
                                     t.kind == 3 ? QChar(u'.') : QChar()));
    }
    // A hanging indent stops its first tab at the left indent, as word processors do: that is
    // where a list item's text begins after its label.
    if (lineStart < para.leftIndent) {
        const qreal hanging = double(para.leftIndent - lineStart) / kTwipsPerPixel;
        if (tabs.isEmpty() || tabs.front().position > hanging)
            tabs.prepend(QTextOption::Tab(hanging, QTextOption::LeftTab));
    }
    if (!tabs.isEmpty())
        format.setTabPositions(tabs);
    return format;
}

} // namespace

bool looksLikeRtf(QByteArrayView data) {
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    qsizetype i = 0;
    while (i < data.size() && isSpace(data[i]) && data[i] != 0)
        ++i;
    data = data.sliced(i);
    return data.startsWith("{\\rtf") || data.startsWith("{\\urtf");
}

void readRtf(QByteArrayView data, QTextDocument& document) {
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    Interpreter(data, document).run();
    document.setUndoRedoEnabled(undo);
}
