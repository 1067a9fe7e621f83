#pragma once

#include <QString>

#include <utility>

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

    // Joined with other text, a value gives plain QString. Hidden friends, found only beside a
    // ShortText; the overload for a temporary QString on the left matches Qt's own
    // operator+(QString&&, const QString&) (Qt 6.8 and later) exactly, so that neither is
    // ambiguous with the other.
    friend QString operator+(const ShortText& a, const QString& b) { return a.text_ + b; }
    friend QString operator+(const QString& a, const ShortText& b) { return a + b.text_; }
    friend QString operator+(QString&& a, const ShortText& b) { return std::move(a) + b.text_; }
    friend QString operator+(const ShortText& a, const ShortText& b) { return a.text_ + b.text_; }

private:
    QString text_;
};
