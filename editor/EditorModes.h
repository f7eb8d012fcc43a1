// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QCoreApplication>
#include <QString>

#include <array>

// The editor's one mode: what it is doing with the opened panel.
enum class EditorMode {
    Offline, // no link: nothing to edit
    Reading, // the link runs, the panel's first configuration is on its way
    Editing,
    Testing, // the panel test runs its steps
    Closing, // what is pending reaches the panel before the link stops
};

// What the user (or the window on the user's behalf) asks the editor to do.
enum class EditorInput {
    Edit, // mode, group, duration, colours, brightness, F1/F2, options
    Undo,
    Redo,
    Revert,
    LoadFile,
    LoadDefault,
    LoadFactory,
    SaveFile,
    SaveDefault,
    Compare,
    GpioPress,
    GpioRelease,
    GpioOff,
    MemoryToggle,
    StartTest,
    StopTest,
    RestoreBeforeTest,
    Close,
};

inline constexpr std::array AllEditorModes = {EditorMode::Offline, EditorMode::Reading,
                                              EditorMode::Editing, EditorMode::Testing,
                                              EditorMode::Closing};
inline constexpr std::array AllEditorInputs = {
    EditorInput::Edit,
    EditorInput::Undo,
    EditorInput::Redo,
    EditorInput::Revert,
    EditorInput::LoadFile,
    EditorInput::LoadDefault,
    EditorInput::LoadFactory,
    EditorInput::SaveFile,
    EditorInput::SaveDefault,
    EditorInput::Compare,
    EditorInput::GpioPress,
    EditorInput::GpioRelease,
    EditorInput::GpioOff,
    EditorInput::MemoryToggle,
    EditorInput::StartTest,
    EditorInput::StopTest,
    EditorInput::RestoreBeforeTest,
    EditorInput::Close,
};

enum class Verdict {
    Accepted, // done now
    Deferred, // done once the panel has read back what is on its way
    Refused,
};

// The editor's answer to an input, with the reason where it is not done now.
struct InputAnswer {
    Verdict verdict = Verdict::Refused;
    QString reason;
    bool Accepted() const { return verdict == Verdict::Accepted; }
    bool Refused() const { return verdict == Verdict::Refused; }
};

// What each mode does with each input, before the history, the send gate or the
// test's state are asked: the rows of the editor's one table.
InputAnswer ModeRule(EditorMode mode, EditorInput input);

// Names for the table in tests and the project's map.
const char* ModeName(EditorMode mode);
const char* InputName(EditorInput input);
