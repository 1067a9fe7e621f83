#include "platform/rtf/RtfInterpreter.h"

#include "platform/rtf/CodePage.h"

#include <utility>

namespace {

// Words that a style records and replays: character and paragraph formatting.
bool isFormatting(Kw kw) {
    if (isUnderlineWord(kw))
        return true;
    switch (kw) {
    case Kw::k_b:
    case Kw::k_i:
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

} // namespace

// The document's code page and default font, from its header.
void RtfInterpreter::documentWord(Kw kw, bool hasParam, int param) {
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
        forgetFormats();
        break;
    default:
        break;
    }
}

// Inside {\fonttbl}: \fN starts an entry, its charset or code page says how its name and its
// text are encoded.
void RtfInterpreter::fontTableWord(Kw kw, int param) {
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
}

// The name of a font runs up to the ';' that ends its entry.
void RtfInterpreter::fontTableBytes(QByteArrayView bytes) {
    for (char c : bytes) {
        if (c == ';')
            commitFont();
        else if (fontName_.size() < 256)
            fontName_.append(c);
    }
}

void RtfInterpreter::commitFont() {
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
    forgetFormats();
}

void RtfInterpreter::colorTableWord(Kw kw, int param) {
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
}

// Each ';' ends a colour entry, an empty one included.
void RtfInterpreter::colorTableBytes(QByteArrayView bytes) {
    for (char c : bytes) {
        if (c == ';') {
            colors_.commit();
            forgetFormats();
        }
    }
}

// One entry of {\stylesheet}: its number, its base, and the formatting words it records.
void RtfInterpreter::styleEntryWord(Kw kw, bool hasParam, int param) {
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
}

// \sN: the style's formatting, then whatever the paragraph says itself.
void RtfInterpreter::applyStyle(int index) {
    auto it = resolvedStyles_.find(index);
    if (it == resolvedStyles_.end())
        it = resolvedStyles_.emplace(index, styles_.resolve(index)).first;
    for (const RtfStyleWord& w : it->second)
        applyFormatting(w.word, w.hasParam, w.param);
}
