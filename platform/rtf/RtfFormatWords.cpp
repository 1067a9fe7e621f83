#include "platform/rtf/RtfInterpreter.h"

#include <algorithm>

namespace {

bool flagOn(bool hasParam, int param) {
    return !hasParam || param != 0;
}

} // namespace

// Words that set the character or paragraph properties of the group. Returns true when kw was
// one.
bool RtfInterpreter::applyFormatting(Kw kw, bool hasParam, int param) {
    RtfCharProps& c = top().chars;
    RtfParaProps& p = top().para;
    const auto twips = [&] { return std::clamp(param, -31680, 31680); };
    if (isUnderlineWord(kw)) {
        c.underline = flagOn(hasParam, param);
        return true;
    }
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
