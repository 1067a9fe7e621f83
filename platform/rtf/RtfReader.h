#pragma once

#include <QByteArrayView>

class QTextDocument;

// Whether the bytes begin as an RTF file ("{\rtf", after an optional UTF-8 byte-order mark and
// white space).
bool looksLikeRtf(QByteArrayView data);

// Reads RTF into the document, appending to what it holds. It never fails: damaged or hostile
// input gives whatever text can be recovered from it, in time and memory linear in its size.
// Nothing that the file names (links, objects, field instructions) is fetched, opened or run.
void readRtf(QByteArrayView data, QTextDocument& document);
