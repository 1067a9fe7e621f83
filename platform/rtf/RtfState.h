#pragma once

#include <array>
#include <cstdint>

// What a group of an RTF file carries and restores when it closes. It is kept small and of fixed
// size: a hostile file may open thousands of groups.

// Where the text of a group goes.
enum class RtfDest : std::uint8_t {
    Text,      // the document
    Container, // a field or object: its own text is dropped, its result is shown
    UprChild,  // a group inside \upr: only the \ud one is shown
    ListLabel, // \listtext or \pntext: one label per paragraph
    FontTable,
    ColorTable,
    StyleSheet,
    StyleEntry,
    ListTable,
    LevelText,
    ListOverrideTable,
    Picture,
    Upr,            // \upr: an ANSI and a Unicode version of the same text
    LegacyList,     // \pn: an old-style list definition
    LegacyListText, // \pntxtb / \pntxta inside it
};

struct RtfCharProps {
    int font = -1; // index in the font table; -1 is the default font
    int halfPoints = 24;
    int color = 0; // colour table index; 0 is "automatic"
    int highlight = 0;
    std::uint8_t bold = 0, italic = 0, underline = 0, strike = 0;
    std::int8_t script = 0; // 1 superscript, -1 subscript
    std::uint8_t hidden = 0, caps = 0, smallCaps = 0;

    bool operator==(const RtfCharProps&) const = default;
};

enum class RtfAlign : std::uint8_t { Left, Right, Center, Justify };

struct RtfTabStop {
    int twips = 0;
    std::uint8_t kind = 0; // 0 left, 1 right, 2 centre, 3 decimal

    bool operator==(const RtfTabStop&) const = default;
};

struct RtfParaProps {
    static constexpr int kMaxTabs = 16;

    RtfAlign align = RtfAlign::Left;
    int leftIndent = 0, rightIndent = 0, firstIndent = 0; // twips
    int spaceBefore = 0, spaceAfter = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    bool inTable = false;
    int nesting = 0;      // \itap: table depth of the paragraph
    int listOverride = 0; // \ls
    int listLevel = 0;
    int legacyList = 0; // index of a \pn definition + 1, 0 for none
    std::uint8_t pendingTabKind = 0;
    std::uint8_t tabCount = 0;
    std::array<RtfTabStop, kMaxTabs> tabs{};

    bool operator==(const RtfParaProps&) const = default;
};

struct RtfGroupState {
    RtfDest dest = RtfDest::Text;
    // Where a field's or object's result goes: the destination around the container.
    RtfDest shown = RtfDest::Text;
    int unicodeSkip = 1; // \ucN
    RtfCharProps chars;
    RtfParaProps para;
};
