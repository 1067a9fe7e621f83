#include "lesson/Syllables.h"

#include <QStringList>

#include <algorithm>

namespace {

enum class Letter { Vowel, Consonant };

struct Unit {
    int start;
    int end;
    Letter sound;
};

bool vowelLetter(QChar c) {
    static const QString vowels = QStringLiteral("aeiouáéíóúüàèìòù");
    return vowels.contains(c);
}

// a, e, o and the accented vowels: two of them never share a syllable.
bool strong(QChar c) {
    static const QString strongVowels = QStringLiteral("aeoáéíóúàèìòù");
    return strongVowels.contains(c);
}

bool frontVowel(QChar c) {
    return c == u'e' || c == u'i' || c == u'é' || c == u'í';
}

bool inseparable(const QString& pair) {
    static const QStringList pairs{QStringLiteral("bl"), QStringLiteral("br"), QStringLiteral("cl"),
                                   QStringLiteral("cr"), QStringLiteral("dr"), QStringLiteral("fl"),
                                   QStringLiteral("fr"), QStringLiteral("gl"), QStringLiteral("gr"),
                                   QStringLiteral("kl"), QStringLiteral("pl"), QStringLiteral("pr"),
                                   QStringLiteral("tr")};
    return pairs.contains(pair);
}

// The word's sounds as its letters spell them: «ch», «ll», «rr», «qu» and «gu» before e or i are
// one consonant each; y is a vowel at the end of a word after a vowel, or alone.
QList<Unit> unitsOf(const QString& w) {
    QList<Unit> units;
    const int n = int(w.size());
    for (int i = 0; i < n;) {
        const QChar c = w[i];
        const QChar next = i + 1 < n ? w[i + 1] : QChar();
        const QChar after = i + 2 < n ? w[i + 2] : QChar();
        if ((c == u'c' && next == u'h') || (c == u'l' && next == u'l') ||
            (c == u'r' && next == u'r') ||
            ((c == u'q' || c == u'g') && next == u'u' && frontVowel(after)) ||
            (c == u'q' && next == u'u')) {
            units.append({i, i + 2, Letter::Consonant});
            i += 2;
            continue;
        }
        bool vowel = vowelLetter(c);
        if (c == u'y')
            vowel = n == 1 || (i == n - 1 && i > 0 && vowelLetter(w[i - 1]));
        units.append({i, i + 1, vowel ? Letter::Vowel : Letter::Consonant});
        ++i;
    }
    return units;
}

// Whether the vowels a and b, side by side, belong to different syllables.
bool hiatus(QChar a, QChar b) {
    return strong(a) && strong(b);
}

// Where each syllable starts, as indices into the units.
QList<int> syllableStarts(const QString& w, const QList<Unit>& units) {
    // The nuclei: runs of vowels, parted where two strong vowels meet.
    QList<std::pair<int, int>> nuclei; // [first, last] unit
    for (int u = 0; u < units.size(); ++u) {
        if (units[u].sound != Letter::Vowel)
            continue;
        if (!nuclei.isEmpty() && nuclei.back().second == u - 1 &&
            !hiatus(w[units[u - 1].start], w[units[u].start]))
            nuclei.back().second = u;
        else
            nuclei.append({u, u});
    }
    QList<int> starts{0};
    for (int k = 1; k < nuclei.size(); ++k) {
        const int from = nuclei[k - 1].second + 1; // the consonants between the two nuclei
        const int to = nuclei[k].first;
        const int count = to - from;
        const auto pairAt = [&](int u) {
            return inseparable(w.mid(units[u].start, units[u + 1].end - units[u].start));
        };
        int start = to;
        if (count == 1)
            start = from;
        else if (count >= 2)
            start = pairAt(to - 2) ? to - 2 : to - 1;
        starts.append(start);
    }
    return starts;
}

} // namespace

namespace {

QList<Span> syllablesOfLetters(const QString& text, Span word) {
    const QString w = text.mid(word.start, word.length()).toLower();
    const QList<Unit> units = unitsOf(w);
    const QList<int> starts = syllableStarts(w, units);
    QList<Span> syllables;
    for (int k = 0; k < starts.size(); ++k) {
        const int from = units[starts[k]].start;
        const int to = k + 1 < starts.size() ? units[starts[k + 1]].start : int(w.size());
        syllables.append({word.start + from, word.start + to});
    }
    return syllables;
}

} // namespace

QList<Span> Syllables(const QString& text, Span word) {
    word.end = std::min<int>(word.end, text.size());
    for (int i = word.start; i < word.end; ++i)
        if (text[i].isDigit())
            return {word};
    // Each run of letters on its own («fí-si-co-quí-mi-co»); a mark between runs goes with the
    // syllable before it.
    QList<Span> syllables;
    for (int i = word.start; i < word.end;) {
        int end = i;
        while (end < word.end && text[end].isLetter())
            ++end;
        if (end > i)
            syllables.append(syllablesOfLetters(text, {i, end}));
        int next = end;
        while (next < word.end && !text[next].isLetter())
            ++next;
        if (syllables.isEmpty())
            syllables.append({i, next});
        else
            syllables.back().end = next;
        i = next;
    }
    return syllables.isEmpty() ? QList<Span>{word} : syllables;
}

QString Syllabified(const QString& word) {
    QStringList parts;
    for (const Span s : Syllables(word, {0, int(word.size())}))
        parts.append(word.mid(s.start, s.length()));
    return parts.join(u'-');
}

void SyllableSteps::start(const QString& text, Span word) {
    syllables_.clear();
    at_ = 0;
    phase_ = Phase::Opening;
    vowelsHeard_ = 0;
    closingLeft_ = 0;
    for (const Span span : Syllables(text, word)) {
        Shape shape{span};
        const QString letters = text.mid(span.start, span.length()).toLower();
        const QList<Unit> units = unitsOf(letters);
        for (const Unit& u : units) {
            if (u.sound == Letter::Vowel) {
                ++shape.vowels;
                shape.closing = 0;
            } else if (shape.vowels > 0) {
                shape.closing += letters.mid(u.start, u.end - u.start) == u"x" ? 2 : 1;
            }
        }
        syllables_.append(shape);
    }
}

bool SyllableSteps::advance() {
    if (at_ + 1 >= syllables_.size())
        return false;
    ++at_;
    return true;
}

bool SyllableSteps::heard(Sound sound) {
    if (syllables_.isEmpty())
        return false;
    const Shape& shape = syllables_[at_];
    if (sound == Sound::Vowel) {
        switch (phase_) {
        case Phase::Opening:
            phase_ = Phase::Vowels;
            vowelsHeard_ = 1;
            return false;
        case Phase::Vowels:
            if (vowelsHeard_ < shape.vowels) {
                ++vowelsHeard_;
                return false;
            }
            break; // two vowels apart: the next syllable starts with its vowel
        case Phase::Closing:
            break;
        }
        phase_ = Phase::Vowels;
        vowelsHeard_ = 1;
        return advance();
    }
    switch (phase_) {
    case Phase::Opening:
        return false;
    case Phase::Vowels:
        phase_ = Phase::Closing;
        closingLeft_ = shape.closing;
        [[fallthrough]];
    case Phase::Closing:
        if (closingLeft_ > 0) {
            --closingLeft_;
            return false;
        }
        phase_ = Phase::Opening;
        return advance();
    }
    return false;
}

Span SyllableSteps::current() const {
    if (syllables_.size() < 2)
        return {};
    return syllables_[at_].span;
}
