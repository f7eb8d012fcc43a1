#pragma once

#include "FtdiApi.h"

#include <string>

// A description or product string names a panel when it contains "QUVO-8261-"
// in any letter case.
bool NamesPanel(std::string description);

// A device of the list is a usable panel when no program holds it, its chip is
// an FT232R and its description contains "QUVO-8261-" (in any letter case).
bool IsPanelDevice(const FT_DEVICE_LIST_INFO_NODE& node);
