// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/UnitProcs.h"

// Colours and names the editor's parts share.
inline constexpr ScreenColor WindowColour = 0x00808080;
inline constexpr const char* StateNames[4] = {"No signals", "GPIO", "GPI", "GPIO+GPI"};
