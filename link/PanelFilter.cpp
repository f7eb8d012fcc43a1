#include "PanelFilter.h"

#include "D2XXUnit_mod.h"

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
