// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/DeviceBlocks.h"

#include <QString>

#include <chrono>
#include <deque>
#include <vector>

// One step of the editor's history: what the panel held before and after it.
struct EditStep {
    QString name; // what the step did, as the Undo and Redo items show it
    ConfigBlock before{};
    ConfigBlock after{};
    std::chrono::steady_clock::time_point at{};
};

// The steps the panel has read back, to be undone and redone in order.
class EditHistory {
public:
    // Steps of the same edit this close together make one step (duration steps
    // by key repeat or wheel, quick memory toggles).
    static constexpr std::chrono::milliseconds BurstWindow{1000};
    // The oldest steps go beyond this many, so that an editor left open for
    // days of edits keeps its memory (under a megabyte of history).
    static constexpr std::size_t MostSteps = 1000;

    // A new step clears what could be redone.
    void Record(const EditStep& step);
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    const EditStep& NextUndo() const { return undo_.back(); }
    const EditStep& NextRedo() const { return redo_.back(); }
    // The step to undo, moved to the redo side; and the reverse.
    EditStep TakeUndo();
    EditStep TakeRedo();
    void Clear();
    std::size_t UndoCount() const { return undo_.size(); }
    // Drops the steps recorded after the first `count`, and what could be redone:
    // a panel test folds the steps made during it into one.
    void DropNewerThan(std::size_t count);

private:
    std::deque<EditStep> undo_;
    std::vector<EditStep> redo_;
};
