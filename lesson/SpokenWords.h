#pragma once

#include <QString>

// The rewriting table of the spoken text: the forms the Spanish voice says wrongly, each matched at
// a position of the viewer's text. Each function gives how many characters it matched there (0
// for none) and the words to say instead.

// Abbreviations and units: «p. ej.», «EE. UU.», «Sra.», «pág.», «etc.», «n.º», «km»…
int matchAbbreviation(const QString& text, int at, QString& words);
// Ordinals written with digits: «1.º», «2.ª», «3.er», «1º».
int matchOrdinal(const QString& text, int at, QString& words);
// Dates in digits, day first: «12/10/2026», «3/5/26».
int matchDate(const QString& text, int at, QString& words);

// Whether the full stop at position at ends an abbreviation that never ends a sentence («Sra.»,
// «p. ej.»), or one followed by a small letter or a digit.
bool periodEndsAbbreviation(const QString& text, int at);
