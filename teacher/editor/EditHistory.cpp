#include "teacher/editor/EditHistory.h"

namespace {

bool joinsTyping(const LineStep& last, const LineStep& next) {
    return last.typing && next.typing && last.start == next.start && last.removed.size() == 1 &&
           last.inserted.size() == 1 && next.removed.size() == 1 && next.inserted.size() == 1;
}

} // namespace

void EditHistory::record(const LineStep& step) {
    if (clean_ > index_)
        clean_ = -1;
    steps_.resize(index_);
    if (!steps_.isEmpty() && index_ != clean_ && joinsTyping(steps_.last(), step)) {
        steps_.last().inserted = step.inserted;
        return;
    }
    steps_.append(step);
    ++index_;
}

std::optional<LineStep> EditHistory::undo() {
    if (!canUndo())
        return std::nullopt;
    return steps_[--index_];
}

std::optional<LineStep> EditHistory::redo() {
    if (!canRedo())
        return std::nullopt;
    return steps_[index_++];
}

void EditHistory::clear() {
    steps_.clear();
    index_ = 0;
    clean_ = 0;
}
