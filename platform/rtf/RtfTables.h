#pragma once

#include "platform/rtf/RtfKeywords.h"

#include <QColor>
#include <QString>

#include <unordered_map>
#include <vector>

// The tables at the head of an RTF file. Each holds at most a fixed number of entries, so a file
// that declares tens of thousands of fonts, colours or styles costs little.

struct RtfFont {
    QString family;
    int codePage = 0; // 0: the document's code page
};

class RtfFontTable {
public:
    static constexpr std::size_t kMaxFonts = 2000;

    void set(int index, RtfFont font);
    const RtfFont* find(int index) const;

private:
    std::unordered_map<int, RtfFont> fonts_;
};

class RtfColorTable {
public:
    static constexpr std::size_t kMaxColors = 2000;

    // Component values are taken modulo nothing: out-of-range values are clamped to 0..255.
    void setRed(int v) { red_ = clamp(v); }
    void setGreen(int v) { green_ = clamp(v); }
    void setBlue(int v) { blue_ = clamp(v); }
    // Ends the entry at ';'. An entry with no component is "automatic" (invalid colour).
    void commit();
    QColor at(int index) const;

private:
    static int clamp(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }
    std::vector<QColor> colors_;
    int red_ = -1, green_ = -1, blue_ = -1;
};

// One formatting control word as a style records it.
struct RtfStyleWord {
    Kw word = Kw::Unknown;
    bool hasParam = false;
    int param = 0;
};

class RtfStyleSheet {
public:
    static constexpr std::size_t kMaxStyles = 2000;
    static constexpr std::size_t kMaxWords = 64;
    static constexpr int kMaxChain = 16;

    void begin();
    void setIndex(int index) { index_ = index; }
    void setBasedOn(int index) { basedOn_ = index; }
    void addWord(Kw word, bool hasParam, int param);
    void commit();

    // The words of a style and of the styles it is based on, the base first. A chain that loops
    // or runs too deep is cut.
    std::vector<RtfStyleWord> resolve(int index) const;

private:
    struct Style {
        int basedOn = -1;
        std::vector<RtfStyleWord> words;
    };
    std::unordered_map<int, Style> styles_;
    int index_ = 0, basedOn_ = -1;
    std::vector<RtfStyleWord> words_;
    bool open_ = false;
};
