#pragma once

#include <QString>

#include <array>
#include <unordered_map>
#include <vector>

// The labels of list paragraphs that carry list properties (\ls, or an old-style \pn) but no
// written label (\listtext, \pntext). Word and LibreOffice always write the label as well; this is
// for the writers that do not, so that the items still show their bullet or number.
class ListLabels {
public:
    static constexpr int kLevels = 9;
    static constexpr std::size_t kMaxLists = 1000;

    // The list table, as the reader meets it.
    void beginList();
    void beginLevel();
    void setLevelFormat(int format);
    void setLevelStart(int start);
    void setLevelFollow(int follow);
    void setLevelFont(int codePage);
    void appendLevelText(const QString& text); // raw bytes as U+0000..U+00FF, \u as themselves
    void setListId(int id);
    void endList();
    void mapOverride(int override, int listId);

    // Old-style lists: one definition per \pn group; returns its number (from 1), 0 when full.
    int addLegacy(int format, int start, const QString& before, const QString& after);

    // The next label of the list at that level, with the tab (or space) that follows it; empty
    // for a list that is not defined.
    QString next(int override, int level);
    QString nextLegacy(int legacy);

    // Formats are the RTF \levelnfc numbers: 0 decimal, 1/2 roman, 3/4 letters, 23 bullet.
    static QString number(int format, int value);

private:
    struct Level {
        int format = 0;
        int start = 1;
        int follow = 0;
        int codePage = 0;
        QString text;
    };
    struct List {
        int id = 0;
        std::array<Level, kLevels> levels{};
    };
    struct Legacy {
        int format = 0;
        int start = 1;
        QString before, after;
        int counter = 0;
    };

    std::vector<List> lists_;
    List current_;
    int level_ = -1;
    bool inList_ = false;
    std::unordered_map<int, int> overrides_;
    std::unordered_map<int, std::array<int, kLevels>> counters_;
    std::vector<Legacy> legacy_;
};
