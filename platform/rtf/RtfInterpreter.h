#pragma once

#include "platform/rtf/DocumentBuilder.h"
#include "platform/rtf/ListLabels.h"
#include "platform/rtf/RtfKeywords.h"
#include "platform/rtf/RtfPicture.h"
#include "platform/rtf/RtfState.h"
#include "platform/rtf/RtfTables.h"
#include "platform/rtf/RtfTokenizer.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <cstddef>
#include <unordered_map>
#include <vector>

// Internal to the reader: readRtf() is the only way in. The interpreter walks the tokens of one
// file, keeps the group stack, fills the document's tables and writes the text into the
// document. Its member functions live in a few files, one concern each:
//   RtfInterpreter.cpp         the token loop, groups, and the dispatch of each token
//   RtfDestinations.cpp        the words that open a destination (fields, objects and shapes show
//                              only their result), and what a closing one leaves
//   RtfDocumentTables.cpp      the font and colour tables, the style sheet, the code page
//   RtfListDefinitions.cpp     the list table, its overrides, and old-style \pn lists
//   RtfPictureDestination.cpp  the words of a \pict group, and the picture put in the text
//   RtfFormatWords.cpp         the words that set character and paragraph properties
//   RtfTextOutput.cpp          text, paragraphs, table cells and rows on their way out
//   RtfQtFormats.cpp           character and paragraph properties as Qt formats

// \ul and its kinds (dotted, double, wave ...): the viewer shows them all as one underline.
inline bool isUnderlineWord(Kw kw) {
    switch (kw) {
    case Kw::k_ul:
    case Kw::k_uld:
    case Kw::k_uldb:
    case Kw::k_ulw:
    case Kw::k_ulwave:
    case Kw::k_uldash:
    case Kw::k_uldashd:
    case Kw::k_uldashdd:
    case Kw::k_ulhwave:
    case Kw::k_ulth:
    case Kw::k_ulthd:
    case Kw::k_ulthdash:
    case Kw::k_ulthdashd:
    case Kw::k_ulthdashdd:
    case Kw::k_ulthldash:
    case Kw::k_ululdbwave:
    case Kw::k_ulldash:
        return true;
    default:
        return false;
    }
}

// Bytes read as padding around the groups of a file: white space and NUL.
inline bool isRtfSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0;
}

class RtfInterpreter {
public:
    static constexpr std::size_t kMaxDepth = 256;

    RtfInterpreter(QByteArrayView data, DocumentBuilder& out)
        : data_(data), tokens_(data), out_(out) {
        lastBrace_ = data.lastIndexOf('}');
    }

    void run();

private:
    RtfGroupState& top() { return stack_.back(); }
    RtfDest dest() const { return stack_.back().dest; }
    bool showsText() const { return dest() == RtfDest::Text || dest() == RtfDest::ListLabel; }

    // Groups and tokens.
    void openGroup();
    bool closeGroup();
    void startSkipping();
    void onBytes(QByteArrayView bytes);
    void onWord(Kw kw, bool hasParam, int param);
    void onSymbol(char symbol);
    void onBinary(QByteArrayView bytes);
    void onUnicode(int value);

    // Destinations.
    bool destinationWord(Kw kw, bool hasParam, int param);
    void endGroup(const RtfGroupState& closing, RtfGroupState& parent);

    // Font and colour tables, style sheet, code pages.
    void documentWord(Kw kw, bool hasParam, int param);
    void fontTableWord(Kw kw, int param);
    void fontTableBytes(QByteArrayView bytes);
    void commitFont();
    void colorTableWord(Kw kw, int param);
    void colorTableBytes(QByteArrayView bytes);
    void styleEntryWord(Kw kw, bool hasParam, int param);
    void applyStyle(int index);
    int codePageOf(const RtfCharProps& chars) const;
    int fontCodePage(int font) const;

    // List definitions.
    void listTableWord(Kw kw, int param);
    void listOverrideWord(Kw kw, int param);
    void legacyListWord(Kw kw, int param);
    void levelTextBytes(QByteArrayView bytes);
    void levelTextUnit(char16_t unit);
    void legacyTextBytes(QByteArrayView bytes);
    void legacyTextUnit(char16_t unit);

    // Pictures.
    void pictureWord(Kw kw, int param);
    void insertPicture();

    // Character and paragraph properties.
    bool applyFormatting(Kw kw, bool hasParam, int param);

    // Text of the document.
    void tableWord(Kw kw, bool hasParam, int param);
    void emitBytes(QByteArrayView bytes);
    void emitText(QStringView text);
    void emitUnit(char16_t unit);
    void prepareContent();
    void startRun();
    void flushBytes();
    void flushRun();
    void endParagraph();

    // Qt formats.
    struct CharFormats {
        RtfCharProps props;
        QTextCharFormat format; // for any text
        QTextCharFormat simple; // the same, for text that needs no complex shaping
        int id;                 // format's number, one that no other format has; simple's is id + 1
    };
    const CharFormats& charFormats(const RtfCharProps& chars);
    const QTextCharFormat& charFormat(const RtfCharProps& chars) {
        return charFormats(chars).format;
    }
    void forgetFormats() { formats_.clear(); }
    QTextBlockFormat blockFormat(const RtfParaProps& para);
    QTextBlockFormat makeBlockFormat(const RtfParaProps& para) const;

    QByteArrayView data_;
    RtfTokenizer tokens_;
    DocumentBuilder& out_;
    qsizetype lastBrace_ = -1;

    std::vector<RtfGroupState> stack_;
    int overflow_ = 0; // groups opened beyond kMaxDepth, sharing the deepest state
    bool skipping_ = false;
    int skipNested_ = 0;
    bool star_ = false;
    // The first byte that is not padding at or after paddingFrom_, remembered so that a run of
    // stray closing braces is scanned once.
    qsizetype paddingFrom_ = -1, paddingEnd_ = -1;

    int documentCodePage_ = 1252;
    int defaultFont_ = -1;
    RtfFontTable fonts_;
    RtfColorTable colors_;
    RtfStyleSheet styles_;
    std::unordered_map<int, std::vector<RtfStyleWord>> resolvedStyles_;
    ListLabels lists_;
    RtfPicture picture_;
    std::size_t pictureDepth_ = 0;
    int pictureCount_ = 0;

    // The font entry being read.
    std::size_t fontTableDepth_ = 0;
    bool fontOpen_ = false;
    int fontIndex_ = 0, fontCharset_ = -1, fontCpg_ = 0;
    QByteArray fontName_;

    // The list table entry being read.
    std::size_t listDepth_ = 0, overrideDepth_ = 0;
    int overrideList_ = 0, overrideLs_ = 0;
    QString levelText_;
    int legacyFormat_ = 0, legacyStart_ = 1, legacyCodePage_ = 0;
    bool legacyAfter_ = false;
    QString legacyBefore_, legacyAfterText_;

    // Text on its way to the document.
    QByteArray pendingBytes_;
    int pendingCodePage_ = 0;
    QString run_;
    RtfCharProps runProps_;
    QString decoded_; // bytes decoded on their way to run_, kept to reuse its memory
    // The formats of the character properties met so far: a document uses few, and a format
    // built once is hashed once by the document.
    std::vector<CharFormats> formats_;
    std::size_t lastFormat_ = 0;
    int nextFormatId_ = 0;
    RtfParaProps lastPara_; // the last paragraph's properties and their format
    QTextBlockFormat lastBlockFormat_;
    bool lastBlockValid_ = false;
    int skipChars_ = 0;        // \uc fallback characters still to skip
    char16_t pendingHigh_ = 0; // a high surrogate waiting for its low half

    // The paragraph being written.
    bool labelDone_ = false; // a list label was shown for it
    QString label_;          // the written label, until the paragraph's first content
    RtfCharProps labelProps_;
    bool listChecked_ = false; // its list counter was advanced
    int rowCells_ = 0;         // \cellx of the current row definition
    int footnotes_ = 0;
};

// The code page of a font, or of the text in some character properties: the font's own, else the
// document's. Called for every run of text, so defined here where every piece can inline it.
inline int RtfInterpreter::fontCodePage(int index) const {
    const RtfFont* font = fonts_.find(index);
    return font && font->codePage != 0 ? font->codePage : documentCodePage_;
}

inline int RtfInterpreter::codePageOf(const RtfCharProps& chars) const {
    return fontCodePage(chars.font >= 0 ? chars.font : defaultFont_);
}
