#pragma once

#include <QString>

#include <vector>

// What the voice is given for a stretch of the viewer's text, and the way back: the voice says
// «1.º», «p. ej.», «EE. UU.» or a date wrongly as written, so they are rewritten into the words a
// reader would say, and every character of the rewritten text remembers the stretch of the viewer's
// text it stands for. A word the voice reports is then lit where the student sees it.
struct Span {
    int start = 0;
    int end = 0; // one past the last character
    int length() const { return end - start; }
    bool operator==(const Span&) const = default;
};

class SpokenText {
public:
    // The rewritten form of shown[start, end). Web and mail addresses are said as a reader spells
    // them out («ejemplo punto es barra fauna»), or left out when the student chose so.
    SpokenText(const QString& shown, int start, int end, bool sayAddresses = true);

    const QString& text() const { return text_; }
    // The stretch of the viewer's text that the spoken text's [position, position + length) came
    // from; an empty span at the end when the position is past the end.
    Span shownSpan(int position, int length) const;

private:
    void copy(const QString& shown, int at);
    void replace(const QString& words, Span from);

    QString text_;
    std::vector<Span> origin_; // one per UTF-16 unit of text_
};
