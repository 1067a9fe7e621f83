#pragma once

#include "lesson/SpokenText.h"

#include <QString>

// The words, sentences and sections of the viewer's text as read-aloud needs them: where a reading
// starts and which sentence to light around the word being said.

// The section of the text that holds position: from the line after its marker line to the next
// marker line (or the end); before the first marker, the text up to it.
Span SectionAround(const QString& text, int position);
// The body of section n (after its marker line); an empty span when the text has no such marker.
Span SectionBody(const QString& text, int n);
// The start of the word that holds position, or position itself between words.
int WordStart(const QString& text, int position);
// The span narrowed to its letters and digits, the span itself when it has none.
Span WordOnly(const QString& text, Span span);
// The sentence that holds position, its blanks left out. A full stop that closes an abbreviation
// («Sra.», «p. ej.») or stands inside a number ends none.
Span SentenceAround(const QString& text, int position);
// The unit that the word at span belongs to, lit as one though the voice reports it in pieces: a
// hyphenated word («físico-químico»), a number with its sign, decimals, thousands and percent
// («-2», «3,5», «1.936», «25 %»), a web or mail address. The span itself when it is none of them.
Span UnitAround(const QString& text, Span word);
// Whether the text from at starts a web or mail address, and how long it is (0 for none).
int AddressAt(const QString& text, int at);
