// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/FtdiApi.h"

#include <cstdint>
#include <string>
#include <vector>

// A description or product string names a panel when it contains "QUVO-8261-"
// in any letter case.
bool NamesPanel(std::string description);

// A device of the list is a usable panel when no program holds it, its chip is
// an FT232R and its description contains "QUVO-8261-" (in any letter case).
bool IsPanelDevice(const FT_DEVICE_LIST_INFO_NODE& node);

// One usable panel of the device list.
struct TGPIItem {
    std::int32_t ListIndex = 0;
    std::uint32_t LocationId = 0;
    std::string SerialNumber;
    std::string Description;

    bool operator==(const TGPIItem&) const = default;
};

// The usable panels of the last enumeration, in the library's order.
std::vector<TGPIItem> ListedPanels();

// How many devices of the last enumeration another program holds.
int DevicesInUse();

// `asked` names the panel: its whole serial number or the part before the last dot.
bool SerialNameMatches(const std::string& serialNumber, const std::string& asked);
