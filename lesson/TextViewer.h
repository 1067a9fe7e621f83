#pragma once

#include <QString>

// What the lesson needs of the read-only rich-text viewer that shows its text. Positions are
// character positions in the viewer's plain text.
class TextViewer {
public:
    virtual ~TextViewer() = default;

    // Shows the file as rich text (as plain text when it is not rich text), replacing what was
    // shown. Throws ToolkitError ("Cannot open file %s", "Failed to Load Stream").
    virtual void load(const QString& path) = 0;

    // Display lines, word-wrapped at the viewer's width. A line gives at most its first 4096
    // characters, without its line break; a line past the end is empty.
    virtual int lineCount() const = 0;
    virtual QString line(int index) const = 0;

    virtual QString text() const = 0;
    virtual int textLength() const = 0;

    // First occurrence of what within [start, start + length), without regard to case and not
    // whole-word; -1 when there is none.
    virtual int find(const QString& what, int start, int length) const = 0;

    virtual void setSelection(int start, int length) = 0;
    virtual void focus() = 0;
    virtual void scrollCaretIntoView() = 0;
};
