#include "platform/rtf/ListLabels.h"

#include "platform/rtf/CodePage.h"

namespace {

QString roman(int value) {
    static const std::pair<int, const char*> parts[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    if (value <= 0 || value >= 4000)
        return QString::number(value);
    QString out;
    for (const auto& [n, s] : parts) {
        while (value >= n) {
            out += QLatin1String(s);
            value -= n;
        }
    }
    return out;
}

QString letters(int value) {
    if (value <= 0)
        return QString::number(value);
    // a..z, then aa, bb ... as word processors count
    const int repeat = (value - 1) / 26 + 1;
    return QString(std::min(repeat, 50), QChar(u'a' + (value - 1) % 26));
}

} // namespace

void ListLabels::beginList() {
    current_ = List{};
    level_ = -1;
    inList_ = true;
}

void ListLabels::beginLevel() {
    if (inList_ && level_ + 1 < kLevels)
        ++level_;
}

void ListLabels::setLevelFormat(int format) {
    if (inList_ && level_ >= 0)
        current_.levels[std::size_t(level_)].format = format;
}

void ListLabels::setLevelStart(int start) {
    if (inList_ && level_ >= 0)
        current_.levels[std::size_t(level_)].start = start;
}

void ListLabels::setLevelFollow(int follow) {
    if (inList_ && level_ >= 0)
        current_.levels[std::size_t(level_)].follow = follow;
}

void ListLabels::setLevelFont(int codePage) {
    if (inList_ && level_ >= 0)
        current_.levels[std::size_t(level_)].codePage = codePage;
}

void ListLabels::appendLevelText(const QString& text) {
    if (inList_ && level_ >= 0 && current_.levels[std::size_t(level_)].text.size() < 256)
        current_.levels[std::size_t(level_)].text += text;
}

void ListLabels::setListId(int id) {
    if (inList_)
        current_.id = id;
}

void ListLabels::endList() {
    if (inList_ && lists_.size() < kMaxLists)
        lists_.push_back(current_);
    inList_ = false;
}

void ListLabels::mapOverride(int override, int listId) {
    if (overrides_.size() < kMaxLists)
        overrides_[override] = listId;
}

int ListLabels::addLegacy(int format, int start, const QString& before, const QString& after) {
    if (legacy_.size() >= kMaxLists)
        return 0;
    legacy_.push_back({format, start, before.left(32), after.left(32), 0});
    return int(legacy_.size());
}

QString ListLabels::number(int format, int value) {
    switch (format) {
    case 1:
        return roman(value).toUpper();
    case 2:
        return roman(value);
    case 3:
        return letters(value).toUpper();
    case 4:
        return letters(value);
    case 22:
        return value < 10 ? QStringLiteral("0%1").arg(value) : QString::number(value);
    case 23:
        return QStringLiteral("\u2022");
    case 255:
        return {};
    default:
        return QString::number(value);
    }
}

QString ListLabels::next(int override, int level) {
    const auto found = overrides_.find(override);
    if (found == overrides_.end() || level < 0 || level >= kLevels)
        return {};
    const List* list = nullptr;
    for (const List& l : lists_) {
        if (l.id == found->second)
            list = &l;
    }
    if (!list)
        return {};

    auto [it, fresh] = counters_.try_emplace(override);
    std::array<int, kLevels>& counters = it->second;
    if (fresh)
        counters.fill(0);
    const Level& def = list->levels[std::size_t(level)];
    counters[std::size_t(level)] =
        counters[std::size_t(level)] == 0 ? def.start : counters[std::size_t(level)] + 1;
    for (int deeper = level + 1; deeper < kLevels; ++deeper)
        counters[std::size_t(deeper)] = 0;

    // \leveltext: its first character is the length, characters below 9 stand for the number of
    // that level.
    QString label;
    const QString& text = def.text;
    const int length = text.isEmpty() ? 0 : std::min<int>(text[0].unicode(), int(text.size()) - 1);
    for (int i = 1; i <= length; ++i) {
        const char16_t c = text[i].unicode();
        if (c < 9) {
            const Level& other = list->levels[c];
            const int value = counters[c] == 0 ? other.start : counters[c];
            label += number(other.format, value);
        } else if (c < 0x100) {
            CodePage::decodeAppend(def.codePage, QByteArray(1, char(c)), label);
        } else {
            label += QChar(char16_t(CodePage::mapSymbolPrivateUse(
                def.codePage == 0 ? CodePage::Symbol : def.codePage, c)));
        }
    }
    if (length == 0)
        label = number(def.format, counters[std::size_t(level)]);
    if (label.isEmpty())
        return {};
    return label + (def.follow == 1   ? QStringLiteral(" ")
                    : def.follow == 2 ? QString()
                                      : QStringLiteral("\t"));
}

QString ListLabels::nextLegacy(int legacy) {
    if (legacy <= 0 || std::size_t(legacy) > legacy_.size())
        return {};
    Legacy& def = legacy_[std::size_t(legacy - 1)];
    def.counter = def.counter == 0 ? def.start : def.counter + 1;
    if (def.format == 23)
        return (def.before.isEmpty() ? QStringLiteral("\u2022") : def.before) +
               QStringLiteral("\t");
    return def.before + number(def.format, def.counter) + def.after + QStringLiteral("\t");
}
