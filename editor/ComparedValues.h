// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/DeviceBlocks.h"

#include <QStringList>

#include <cstddef>
#include <map>

// What "Compare with File" shows: each setting the panel and a settings file
// hold differently, one line each, its values worded as the editor shows them
// (seconds, mode and function names, groups, a colour with its brightness as
// "#RRGGBB 75%"). `outOfRange` holds the file's values a panel cannot hold, by
// block byte (ReadSettingsFileContent): they are shown as the file holds them and said
// to be out of range, also where their low 8 bits match the panel.
QStringList ComparedLines(const ConfigBlock& panel, const ConfigBlock& file,
                          const std::map<std::size_t, long long>& outOfRange);
