#include "platform/rtf/RtfTokenizer.h"

#include <array>
#include <limits>

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Bytes that end a text run. CR and LF are not text in RTF; NUL is padding some writers leave.
// A table: text runs are most of a file, and this is asked of each of their bytes.
constexpr auto kEndsText = [] {
    std::array<bool, 256> ends{};
    for (const unsigned char c : {'{', '}', '\\', '\r', '\n', '\0'})
        ends[c] = true;
    return ends;
}();
bool endsText(char c) {
    return kEndsText[static_cast<unsigned char>(c)];
}

RtfToken make(RtfToken::Kind kind) {
    RtfToken token;
    token.kind = kind;
    return token;
}

} // namespace

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

RtfToken RtfTokenizer::next() {
    const qsizetype size = data_.size();
    while (pos_ < size) {
        const char c = data_[pos_];
        switch (c) {
        case '{':
            ++pos_;
            return make(RtfToken::Kind::GroupOpen);
        case '}':
            ++pos_;
            return make(RtfToken::Kind::GroupClose);
        case '\\': {
            ++pos_;
            RtfToken token = afterBackslash();
            if (token.kind != RtfToken::Kind::End)
                return token;
            continue; // a bad escape: nothing to report, go on with the next byte
        }
        case '\r':
        case '\n':
        case 0:
            ++pos_;
            continue;
        default: {
            const qsizetype start = pos_;
            while (pos_ < size && !endsText(data_[pos_]))
                ++pos_;
            RtfToken token = make(RtfToken::Kind::Text);
            token.bytes = data_.sliced(start, pos_ - start);
            return token;
        }
        }
    }
    return {};
}

// Returns an End token for an escape that means nothing (a bad \' or a backslash at the end).
RtfToken RtfTokenizer::afterBackslash() {
    const qsizetype size = data_.size();
    if (pos_ >= size)
        return {};
    const char c = data_[pos_];
    if (isLetter(c))
        return controlWord();
    ++pos_;
    if (c == '\'') {
        int value = 0;
        int digits = 0;
        while (digits < 2 && pos_ < size) {
            const int h = hexDigitValue(data_[pos_]);
            if (h < 0)
                break;
            value = value * 16 + h;
            ++digits;
            ++pos_;
        }
        if (digits == 0)
            return {};
        RtfToken token = make(RtfToken::Kind::HexByte);
        token.byte = static_cast<unsigned char>(value);
        return token;
    }
    RtfToken token = make(RtfToken::Kind::ControlSymbol);
    token.symbol = c == '\r' ? '\n' : c;
    return token;
}

RtfToken RtfTokenizer::controlWord() {
    const qsizetype size = data_.size();
    const qsizetype start = pos_;
    while (pos_ < size && isLetter(data_[pos_]))
        ++pos_;
    RtfToken token = make(RtfToken::Kind::ControlWord);
    if (pos_ - start <= kMaxWordLength)
        token.word = std::string_view(data_.data() + start, std::size_t(pos_ - start));

    bool negative = false;
    if (pos_ + 1 < size && data_[pos_] == '-' && isDigit(data_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    if (pos_ < size && isDigit(data_[pos_])) {
        // Saturate instead of overflowing; the digits are consumed whatever their number.
        constexpr long long limit = std::numeric_limits<int>::max();
        long long value = 0;
        while (pos_ < size && isDigit(data_[pos_])) {
            if (value <= limit)
                value = value * 10 + (data_[pos_] - '0');
            ++pos_;
        }
        if (value > limit)
            value = limit;
        token.hasParam = true;
        token.param = static_cast<int>(negative ? -value : value);
    }
    if (pos_ < size && data_[pos_] == ' ')
        ++pos_;

    if (token.word == "bin") {
        // \binN: the next N bytes are data, whatever they contain.
        const qsizetype wanted = token.hasParam && token.param > 0 ? token.param : 0;
        const qsizetype length = std::min(wanted, size - pos_);
        RtfToken binary = make(RtfToken::Kind::Binary);
        binary.bytes = data_.sliced(pos_, length);
        pos_ += length;
        return binary;
    }
    return token;
}
