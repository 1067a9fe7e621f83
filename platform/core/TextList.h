#pragma once

#include <QString>
#include <QStringList>

// An ordered list of text lines, as the lesson window keeps its key, register and failed
// questions. An index outside the list is refused with the toolkit's error.
class TextList {
public:
    enum class Encoding {
        Ansi,    // Windows-1252, byte for byte
        Teacher, // UTF-8 when the file is valid UTF-8, Windows-1252 otherwise
    };

    void add(const QString& line) { lines_.append(line); }
    void clear() { lines_.clear(); }
    qsizetype count() const { return lines_.size(); }
    const QString& at(qsizetype index) const;
    const QStringList& lines() const { return lines_; }

    // The first line equal to text regardless of letter case (accented capitals match their small
    // letters), or -1.
    qsizetype indexOf(const QString& text) const;

    // Replaces the contents with the file's lines. Lines end at CR LF, a lone CR or a lone LF; a
    // final line break adds no empty line; a NUL byte ends the text.
    void loadFromFile(const QString& path, Encoding encoding = Encoding::Ansi);
    void loadFromBytes(QByteArrayView bytes, Encoding encoding = Encoding::Ansi);

    // Creates or empties the file and writes every line, each ended by CR LF, in Windows-1252.
    void saveToFile(const QString& path) const;

private:
    QStringList lines_;
};

// Splits text into lines as loadFromFile does (no NUL handling: the caller cuts first).
QStringList splitLines(const QString& text);
