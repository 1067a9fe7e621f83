#pragma once

#include <QByteArrayView>

#include <string_view>

// The value of a hexadecimal digit, or -1 for any other character.
int hexDigitValue(char c);

// One lexical unit of an RTF file.
struct RtfToken {
    enum class Kind {
        End,           // no more input
        GroupOpen,     // {
        GroupClose,    // }
        ControlWord,   // \word or \wordN
        ControlSymbol, // \ followed by one non-letter (\~, \-, \*, a line break ...)
        HexByte,       // \'hh
        Text,          // a run of ordinary bytes
        Binary,        // the data of \binN
    };
    Kind kind = Kind::End;
    std::string_view word; // control word letters; empty when the word was too long
    bool hasParam = false;
    int param = 0;
    char symbol = 0;
    unsigned char byte = 0;
    QByteArrayView bytes; // Text and Binary
};

// Splits RTF bytes into tokens. It never reads past the end and never fails: every byte sequence
// gives some sequence of tokens. Control words longer than kMaxWordLength come back with an
// empty name, numbers saturate at the int range, and \binN takes exactly the bytes that are there.
class RtfTokenizer {
public:
    static constexpr int kMaxWordLength = 32;

    explicit RtfTokenizer(QByteArrayView data) : data_(data) {}

    RtfToken next();
    qsizetype position() const { return pos_; }
    void skipTo(qsizetype pos) { pos_ = pos; }

private:
    RtfToken controlWord();
    RtfToken afterBackslash();

    QByteArrayView data_;
    qsizetype pos_ = 0;
};
