// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/D2XXUnit_mod.h"
#include "ui/Dialogs.h"

// Takes every answer a test or the soak gave the dialogs back: message boxes,
// questions, choosers and the port module's error box show themselves again.
inline void ResetDialogHooks() {
    Dialogs::SetRecorder(nullptr);
    Dialogs::SetAnswerer(nullptr);
    Dialogs::SetColourChooser(nullptr);
    Dialogs::SetFileChooser(nullptr);
    Dialogs::SetDifferencesAnswerer(nullptr);
    SetPortErrorDialog(nullptr);
}
