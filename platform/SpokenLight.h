#pragma once

class QAbstractScrollArea;

// Read-aloud's light in a text box (a rich-text viewer or a plain text box): the word being said
// and, faintly, its sentence, drawn with the box's extra selections, so that the box's own
// selection and cursor, which the window uses, stay as they are. The view follows the word.
// Positions are positions in the box's plain text.
namespace SpokenLight {
void light(QAbstractScrollArea* box, int wordStart, int wordEnd, int sentenceStart,
           int sentenceEnd);
void clear(QAbstractScrollArea* box);
} // namespace SpokenLight
