#pragma once

#include <QTextEdit>

#include <vector>

// The read-only rich-text viewer of the start and lesson windows. It shows an RTF file (or a plain
// text file) and gives its text as display lines, word-wrapped at its own width, and as a whole;
// it finds text, selects it and scrolls it into view. Positions are positions in plainText().
class RichViewer : public QTextEdit {
    Q_OBJECT

public:
    static constexpr int kMaxLineLength = 4096;

    explicit RichViewer(QWidget* parent = nullptr);

    // Replaces what the viewer shows with the file. Throws ToolkitError ("Cannot open file %s",
    // "Failed to Load Stream"); on failure the viewer keeps what it showed.
    void load(const QString& path);
    // Shows one line of plain text (the line that stands for a missing document).
    void showPlainLine(const QString& line);

    // Display lines at the viewer's width, also before the viewer was ever shown.
    int lineCount() const;
    // At most the first kMaxLineLength characters of the line, without its line break; empty past
    // the end.
    QString line(int index) const;

    QString plainText() const;
    int textLength() const;

    // First occurrence of what lying wholly within [start, start + length), without regard to
    // case; -1 when there is none.
    int find(const QString& what, int start, int length) const;

    void setSelection(int start, int length);
    int selectionStart() const;
    int selectionLength() const;
    void scrollCaretIntoView();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showDocument(QTextDocument* document);
    void layOut() const;
    void forget() const;

    QTextDocument* shown_ = nullptr;

    // Caches of the laid-out document, dropped whenever the text or the width changes: the
    // lesson asks for every line, from the last one back.
    mutable std::vector<int> lineStarts_; // first display line of each block, and the total
    mutable std::vector<int> blockPositions_;
    mutable bool linesValid_ = false;
    mutable QString plainText_;
    mutable bool textValid_ = false;
};
