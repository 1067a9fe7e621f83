#pragma once

#include "lesson/SpokenText.h"

#include <QList>
#include <QString>

// The syllables of a Spanish word by the rules of its spelling, as early reading teaches them: a
// consonant between vowels starts the next syllable; «bl», «br», «cl», «cr», «dr», «fl», «fr»,
// «gl», «gr», «kl», «pl», «pr», «tr» and «ch», «ll», «rr» are never split; a weak vowel (i, u, ü,
// a final y) beside another vowel makes one syllable with it unless a written accent parts them
// («pa-ís», «ciu-dad»); two strong vowels part («a-é-re-o»); the u of «qu» and of «gu» before e or
// i is silent. A prefix is split as the rules say («de-sar-mar»), not by its meaning.

// The syllables of text[word), in order; a word with no vowel, or anything but letters, is one.
QList<Span> Syllables(const QString& text, Span word);
// The syllables of a word joined by hyphens: «pin-güi-no».
QString Syllabified(const QString& word);

// Which syllable of a word is being heard, followed sound by sound as the voice says them: a
// syllable starts where the sounds of the one before have all been heard (its vowels, then the
// consonants that close it: «n» and «s» of «trans»). The vowels of a diphthong and the glides
// («j» of «ciu», «w» of «hue») count as vowels; «x» closes a syllable with two sounds.
class SyllableSteps {
public:
    enum class Sound { Vowel, Consonant };

    // A new word: its first syllable is the one heard.
    void start(const QString& text, Span word);
    // The next sound of the word; whether it moved to another syllable.
    bool heard(Sound sound);
    // The syllable heard; empty before any word, or for a word of one syllable.
    Span current() const;

private:
    struct Shape {
        Span span;
        int vowels = 0;
        int closing = 0; // consonant sounds after the vowels
    };
    bool advance();
    QList<Shape> syllables_;
    int at_ = 0;
    enum class Phase { Opening, Vowels, Closing } phase_ = Phase::Opening;
    int vowelsHeard_ = 0;
    int closingLeft_ = 0;
};
