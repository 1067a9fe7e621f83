#include "platform/rtf/RtfInterpreter.h"

namespace {

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

} // namespace

// Words that open a destination. Returns true when kw was one.
bool RtfInterpreter::destinationWord(Kw kw, bool, int) {
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

// What a destination leaves behind when its group closes: a font, a style, a list, a picture.
void RtfInterpreter::endGroup(const RtfGroupState& closing, RtfGroupState& parent) {
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
