#pragma once

#include "FtdiApi.h"

// A device of the list is a usable panel when no program holds it, its chip is
// an FT232R and its description contains "QUVO-8261-" (in any letter case).
bool IsPanelDevice(const FT_DEVICE_LIST_INFO_NODE& node);
