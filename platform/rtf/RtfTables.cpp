#include "platform/rtf/RtfTables.h"

#include <algorithm>

void RtfFontTable::set(int index, RtfFont font) {
    if (fonts_.size() >= kMaxFonts && !fonts_.contains(index))
        return;
    fonts_[index] = std::move(font);
}

const RtfFont* RtfFontTable::find(int index) const {
    const auto it = fonts_.find(index);
    return it == fonts_.end() ? nullptr : &it->second;
}

void RtfColorTable::commit() {
    if (colors_.size() < kMaxColors) {
        if (red_ < 0 && green_ < 0 && blue_ < 0)
            colors_.emplace_back();
        else
            colors_.emplace_back(std::max(red_, 0), std::max(green_, 0), std::max(blue_, 0));
    }
    red_ = green_ = blue_ = -1;
}

QColor RtfColorTable::at(int index) const {
    if (index < 0 || std::size_t(index) >= colors_.size())
        return {};
    return colors_[std::size_t(index)];
}

void RtfStyleSheet::begin() {
    index_ = 0;
    basedOn_ = -1;
    words_.clear();
    open_ = true;
}

void RtfStyleSheet::addWord(Kw word, bool hasParam, int param) {
    if (open_ && words_.size() < kMaxWords)
        words_.push_back({word, hasParam, param});
}

void RtfStyleSheet::commit() {
    if (!open_)
        return;
    open_ = false;
    if (styles_.size() >= kMaxStyles && !styles_.contains(index_))
        return;
    styles_[index_] = Style{basedOn_, std::move(words_)};
    words_.clear();
}

std::vector<RtfStyleWord> RtfStyleSheet::resolve(int index) const {
    std::vector<const Style*> chain;
    std::vector<int> seen;
    for (int i = index; chain.size() < std::size_t(kMaxChain);) {
        if (std::find(seen.begin(), seen.end(), i) != seen.end())
            break;
        const auto it = styles_.find(i);
        if (it == styles_.end())
            break;
        seen.push_back(i);
        chain.push_back(&it->second);
        i = it->second.basedOn;
    }
    std::vector<RtfStyleWord> words;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        words.insert(words.end(), (*it)->words.begin(), (*it)->words.end());
    return words;
}
