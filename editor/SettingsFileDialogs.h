// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/DeviceBlocks.h"
#include "model/SettingsFiles.h"

#include <QString>

#include <optional>

class QWidget;

// The two file operations of the Load and Save menus. Each asks for a `.gpi`
// file in the settings folder, which follows the chosen file only once the file
// was read or written. False (no file) when the user cancelled; a file that
// cannot be used throws std::runtime_error naming it, and nothing changes then.
// With `mustHoldSettings`, a file without any settings key is refused.
std::optional<QString> LoadSettingsFile(QWidget* owner, SettingsFileContent& content,
                                        bool mustHoldSettings = false);
bool SaveSettingsFile(QWidget* owner, const ConfigBlock& block);
