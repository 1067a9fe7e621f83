#include "platform/rtf/RtfInterpreter.h"

#include "platform/rtf/CodePage.h"
#include "platform/rtf/TextShaping.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QStringList>
#include <QTextOption>

#include <algorithm>

// The Qt formats of a run of text, built once for each set of properties. A hostile file may
// use thousands: then the cache starts again.
const RtfInterpreter::CharFormats& RtfInterpreter::charFormats(const RtfCharProps& chars) {
    constexpr std::size_t kMaxFormats = 64;
    if (lastFormat_ < formats_.size() && formats_[lastFormat_].props == chars)
        return formats_[lastFormat_];
    for (std::size_t i = 0; i < formats_.size(); ++i) {
        if (formats_[i].props == chars) {
            lastFormat_ = i;
            return formats_[i];
        }
    }
    if (formats_.size() >= kMaxFormats)
        formats_.clear();
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
    QTextCharFormat simple = format;
    TextShaping::allowSimple(simple);
    lastFormat_ = formats_.size();
    formats_.push_back({chars, format, simple, nextFormatId_});
    nextFormatId_ += 2;
    return formats_.back();
}

// Paragraphs in a row mostly share their properties: the last format is kept.
QTextBlockFormat RtfInterpreter::blockFormat(const RtfParaProps& para) {
    if (!lastBlockValid_ || !(lastPara_ == para)) {
        lastBlockFormat_ = makeBlockFormat(para);
        lastPara_ = para;
        lastBlockValid_ = true;
    }
    return lastBlockFormat_;
}

// The Qt format of a paragraph; twips become pixels at 15 twips each.
QTextBlockFormat RtfInterpreter::makeBlockFormat(const RtfParaProps& para) const {
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
    const int lineStart =
        std::max(para.leftIndent, 0) + std::max(para.firstIndent, -std::max(para.leftIndent, 0));
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
