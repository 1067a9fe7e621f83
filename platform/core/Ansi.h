#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Lesson files, keys and registers are single-byte Windows-1252. This is the one place where
// bytes become text and text becomes bytes.

// Every byte maps to one character (the five unassigned bytes map to the C1 control of the same
// value, so that a round trip keeps them).
QString ansiToString(QByteArrayView bytes);
QChar ansiToChar(unsigned char byte);

// Characters that Windows-1252 cannot hold become '?'.
QByteArray stringToAnsi(QStringView text);

// Text that a teacher may have saved from any editor: UTF-8 (with or without a byte-order mark)
// when the bytes are valid UTF-8 and not plain ASCII alone, Windows-1252 otherwise.
QString decodeTeacherText(QByteArrayView bytes);
