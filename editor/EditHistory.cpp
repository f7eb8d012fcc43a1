// SPDX-License-Identifier: Apache-2.0
#include "editor/EditHistory.h"

void EditHistory::Record(const EditStep& step) {
    redo_.clear();
    if (!undo_.empty()) {
        EditStep& last = undo_.back();
        if (last.name == step.name && last.after == step.before &&
            step.at - last.at < BurstWindow) {
            last.after = step.after;
            last.at = step.at;
            return;
        }
    }
    undo_.push_back(step);
    if (undo_.size() > MostSteps) {
        undo_.pop_front();
    }
}

void EditHistory::DropNewerThan(std::size_t count) {
    while (undo_.size() > count) {
        undo_.pop_back();
    }
    redo_.clear();
}

EditStep EditHistory::TakeUndo() {
    EditStep step = undo_.back();
    undo_.pop_back();
    redo_.push_back(step);
    return step;
}

EditStep EditHistory::TakeRedo() {
    EditStep step = redo_.back();
    redo_.pop_back();
    undo_.push_back(step);
    return step;
}

void EditHistory::Clear() {
    undo_.clear();
    redo_.clear();
}
