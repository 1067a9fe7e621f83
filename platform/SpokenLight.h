#pragma once

#include "lesson/SpokenText.h"

class QAbstractScrollArea;
struct LightScheme;

// Read-aloud's light in a text box (a rich-text viewer or a plain text box): the word being said
// and its sentence, in a scheme's colours, drawn with the box's extra selections, so that the
// box's own selection and cursor, which the window uses, stay as they are. The view follows the
// word. Positions are positions in the box's plain text.
namespace SpokenLight {
struct Lit {
    Span word;
    Span sentence;
    // Read by syllables: the syllable being said takes the word's colours and the rest of the word
    // is underlined on the tint. Empty: the whole word is lit.
    Span syllable;
};
void light(QAbstractScrollArea* box, const Lit& lit, const LightScheme& scheme);
void clear(QAbstractScrollArea* box);
// The reading ruler: everything in the box but the lines from start to end is shaded; an empty
// span takes the ruler away.
void ruler(QAbstractScrollArea* box, Span lines);
} // namespace SpokenLight
