#pragma once

#include <QString>

// A program-wide text value that holds at most 255 characters: longer text is cut when stored.
class ShortText {
public:
    static constexpr qsizetype kMaxLength = 255;

    ShortText() = default;
    ShortText(const QString& text) : text_(text.left(kMaxLength)) {}
    ShortText& operator=(const QString& text) {
        text_ = text.left(kMaxLength);
        return *this;
    }

    operator const QString&() const { return text_; }
    const QString& str() const { return text_; }
    bool isEmpty() const { return text_.isEmpty(); }

private:
    QString text_;
};

inline QString operator+(const ShortText& a, const QString& b) {
    return a.str() + b;
}
inline QString operator+(const QString& a, const ShortText& b) {
    return a + b.str();
}
inline QString operator+(const ShortText& a, const ShortText& b) {
    return a.str() + b.str();
}
