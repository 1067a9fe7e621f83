#pragma once

#include <QStringView>

class QTextCharFormat;

// Latin, Greek and Cyrillic text shows the same glyph for each character whatever its
// neighbours, so laying it out needs no complex shaping (HarfBuzz), which costs most of a long
// lesson's layout. Text in other scripts, right-to-left text, combining marks and characters
// that steer shaping or direction keeps it.
namespace TextShaping {

// Whether some character of text needs complex shaping to show right.
bool needed(QStringView text);

// The format, told to skip complex shaping where the text needs none.
void allowSimple(QTextCharFormat& format);

} // namespace TextShaping
