#pragma once

#include "teacher/editor/KeyText.h"

#include <QString>

// Writing a key where the student's program reads it.
struct KeySaveResult {
    bool saved = false;
    QString failure; // why it was not saved, in Spanish for the teacher
    QString notice;  // something the teacher should know about a key that was saved
};

// Saves the key at path atomically (a student opening the lesson meanwhile reads the old key or
// the new one, never half of one), keeping the file it replaces as path + ".bak" and the two
// before it as ".bak2" and ".bak3" (AtomicFile.h). Writes
// Windows-1252 unless the key was UTF-8 or has a character that Windows-1252 cannot hold; then
// UTF-8 (text.encoding tells which was written). Every byte is checked to read back as these
// very lines in the student's program before the old key is replaced.
KeySaveResult saveKey(KeyText& text, const QString& path);

// The key's bytes in the encoding saveKey would choose, without writing them; empty with a
// failure when the lines cannot be written so that the student's program reads them back.
QByteArray keyBytesForSaving(KeyText& text, QString& notice, QString& failure);
