#pragma once

#include "teacher/editor/KeyText.h"

#include <QList>
#include <QStringList>

#include <optional>

// One change of the key: lines [start, start + removed.size()) replaced by `inserted`, each line
// with its own break, so that taking the change back gives the very bytes the file had.
struct LineStep {
    int start = 0;
    QStringList removed;
    QList<KeyText::LineEnd> removedEnds;
    QStringList inserted;
    QList<KeyText::LineEnd> insertedEnds;
    bool typing = false; // letters typed into one line
};

// The key's undo and redo: the changes made, how far back the teacher has gone, and where the
// key stood when it was last saved.
class EditHistory {
public:
    // Records a change just made, dropping the changes undone before it. Typing into a line right
    // after typing into the same line joins that step, so that one undo takes back a word typed,
    // not a letter; never across a save, which must stay a place undo can return to.
    void record(const LineStep& step);
    // The change to take back (or make again), moving through the history; none at its end.
    std::optional<LineStep> undo();
    std::optional<LineStep> redo();

    bool canUndo() const { return index_ > 0; }
    bool canRedo() const { return index_ < steps_.size(); }
    bool isClean() const { return index_ == clean_; }
    void setClean() { clean_ = index_; }
    void clear();

private:
    QList<LineStep> steps_;
    qsizetype index_ = 0;
    qsizetype clean_ = 0; // -1 once the saved state was undone and then written over
};
