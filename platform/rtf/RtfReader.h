#pragma once

#include <QByteArrayView>

class QTextDocument;

// Whether the bytes begin as an RTF file ("{\rtf", after an optional UTF-8 byte-order mark and
// white space).
bool looksLikeRtf(QByteArrayView data);

// Reads RTF into the document, appending to what it holds. It never fails: damaged or hostile
// input gives whatever text can be recovered from it, in time and memory linear in its size.
// Nothing that the file names (links, objects, field instructions) is fetched, opened or run.
// A file of some size is read on a second thread while this one builds the document; the
// document is the same either way. The document is meant to be a new one: text goes in without
// moving the cursors that other code may hold on it.
void readRtf(QByteArrayView data, QTextDocument& document);

// readRtf with the number of threads chosen, for tests and benchmarks.
enum class RtfThreads { One, Two };
void readRtf(QByteArrayView data, QTextDocument& document, RtfThreads threads);
