// SPDX-License-Identifier: Apache-2.0
#include "link/PanelFilter.h"

#include "link/D2XXUnit_mod.h"
#include "model/DeviceBlocks.h"

#include <algorithm>

bool NamesPanel(std::string description) {
    std::transform(
        description.begin(), description.end(), description.begin(),
        [](unsigned char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : char(c); });
    return description.find("QUVO-8261-") != std::string::npos;
}

bool IsPanelDevice(const FT_DEVICE_LIST_INFO_NODE& node) {
    return (node.Flags & FT_FLAGS_OPENED) == 0 && node.Type == FT_DEVICE_232R &&
           NamesPanel(DescriptionOf(node));
}

std::vector<TGPIItem> ListedPanels() {
    std::vector<TGPIItem> panels;
    for (std::uint32_t i = 0; i < DeviceInfoCount; ++i) {
        const FT_DEVICE_LIST_INFO_NODE& node = DeviceInfoList[i];
        if (IsPanelDevice(node)) {
            panels.push_back(
                TGPIItem{std::int32_t(i), node.LocId, SerialNumberOf(node), DescriptionOf(node)});
        }
    }
    return panels;
}

int DevicesInUse() {
    int inUse = 0;
    for (std::uint32_t i = 0; i < DeviceInfoCount; ++i) {
        inUse += (DeviceInfoList[i].Flags & FT_FLAGS_OPENED) != 0 ? 1 : 0;
    }
    return inUse;
}

bool SerialNameMatches(const std::string& serialNumber, const std::string& asked) {
    return serialNumber == asked || SplitAtLastDot(serialNumber).first == asked;
}
