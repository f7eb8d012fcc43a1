#include "PanelFilter.h"

#include "D2XXUnit_mod.h"

#include <algorithm>

bool IsPanelDevice(const FT_DEVICE_LIST_INFO_NODE& node) {
    std::string description = DescriptionOf(node);
    std::transform(
        description.begin(), description.end(), description.begin(),
        [](unsigned char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : char(c); });
    return (node.Flags & FT_FLAGS_OPENED) == 0 && node.Type == FT_DEVICE_232R &&
           description.find("QUVO-8261-") != std::string::npos;
}
