#pragma once

#include "platform/core/TextLines.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// An answer key file as the editor holds it: its lines as the student's program reads them, and
// everything needed to write the same bytes back (the encoding, each line's own line break,
// whether the file ends in one, and whatever follows a NUL byte, which the student's program
// never reads).
struct KeyText {
    enum class Encoding { Windows1252, Utf8 };
    using LineEnd = LineBreak;

    QStringList lines;
    QList<LineEnd> ends; // one per line; the last one is written only when finalBreak is set
    bool finalBreak = true;
    Encoding encoding = Encoding::Windows1252;
    bool byteOrderMark = false; // the UTF-8 mark the file began with, which no line holds
    QByteArray tail;            // from the first NUL byte to the end of the file

    // The break that new lines take: the file's first one, CR LF for a new key.
    LineEnd newLineEnd() const;
};

// Reads the bytes as the student's program reads a key: UTF-8 when they are valid UTF-8 (a byte
// order mark allowed) and not ASCII alone, Windows-1252 otherwise; lines split at CR LF, CR or
// LF; a NUL byte ends the text.
KeyText readKeyText(const QByteArray& bytes);

// The bytes of the text in its own encoding. A key read and written without a change gives the
// bytes it was read from.
QByteArray writeKeyText(const KeyText& text);

// Whether every character of the lines has a byte in Windows-1252.
bool fitsWindows1252(const QStringList& lines);

// Lines hold no line breaks: a break typed or pasted inside one becomes a blank.
QString singleLine(QString text);
