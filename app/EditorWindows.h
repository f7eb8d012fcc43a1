// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "app/UnitMain.h"
#include "editor/UnitGPI.h"

#include <QString>

#include <functional>
#include <memory>

// The device list and its editor as the program makes them: the editor created
// right after the list and handed to it, the list shown. The program, its
// tests, the picture tour, the soak and the editor benchmark all start here.
struct EditorWindows {
    std::unique_ptr<TFormMain> main;
    std::unique_ptr<TFormEdit> editor;
};
EditorWindows ShowEditorWindows(const QString& programSettingsFile, bool testButtonShown);

// Runs `open`, which shows the editor and runs its event loop, and calls
// `whileShown` once the editor is visible. False when it was never shown
// (opening failed before).
bool RunWhileEditorShown(TFormEdit& editor, const std::function<void()>& open,
                         const std::function<void()>& whileShown);

// Selects the panel in `row` of the list and opens it; once the editor is
// online runs `whileOnline`, then closes the editor unless it closed itself.
// False when the editor was not shown or did not go online within `timeoutMs`.
bool RunEditorOnline(TFormMain& main, TFormEdit& editor, int row,
                     const std::function<void()>& whileOnline, int timeoutMs = 20000);
