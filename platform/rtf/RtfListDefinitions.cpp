#include "platform/rtf/RtfInterpreter.h"

#include "platform/rtf/CodePage.h"

namespace {

// How much of a level's \leveltext and of a \pn group's text before or after its number is kept.
constexpr qsizetype kMaxLevelText = 256;
constexpr qsizetype kMaxLegacyText = 32;

} // namespace

// Inside {\listtable}: the lists, their levels and each level's format.
void RtfInterpreter::listTableWord(Kw kw, int param) {
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
}

// Inside {\listoverridetable}: which list each \lsN paragraph property stands for.
void RtfInterpreter::listOverrideWord(Kw kw, int param) {
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
}

// Inside an old-style {\pn} list definition: its numbering, start and font.
void RtfInterpreter::legacyListWord(Kw kw, int param) {
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
}

// A level's text keeps its raw bytes as U+0000..U+00FF: its first byte is a length and bytes below
// 9 stand for level numbers, so they are not decoded as text.
void RtfInterpreter::levelTextBytes(QByteArrayView bytes) {
    for (char c : bytes) {
        if (levelText_.size() < kMaxLevelText)
            levelText_.append(QChar(char16_t(static_cast<unsigned char>(c))));
    }
}

void RtfInterpreter::levelTextUnit(char16_t unit) {
    if (levelText_.size() < kMaxLevelText)
        levelText_.append(QChar(unit));
}

// The text before (\pntxtb) or after (\pntxta) an old-style number, in the list's font.
void RtfInterpreter::legacyTextBytes(QByteArrayView bytes) {
    QString& text = legacyAfter_ ? legacyAfterText_ : legacyBefore_;
    if (text.size() < kMaxLegacyText)
        CodePage::decodeAppend(legacyCodePage_ ? legacyCodePage_ : documentCodePage_, bytes, text);
}

void RtfInterpreter::legacyTextUnit(char16_t unit) {
    QString& text = legacyAfter_ ? legacyAfterText_ : legacyBefore_;
    if (text.size() < kMaxLegacyText)
        text.append(QChar(unit));
}
