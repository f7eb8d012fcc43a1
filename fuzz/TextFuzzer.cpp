// SPDX-License-Identifier: Apache-2.0
// The small text parsers: serial number -> channel mask, and whole numbers.
#include "model/DeviceBlocks.h"
#include "model/IniFile.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto [name, mask] = SplitAtLastDot(text);
    if (mask.find('.') != std::string::npos || name.size() + mask.size() > text.size()) {
        std::abort();
    }
    const ChannelFlags present = ParseChannelMask(mask);
    if (present[0] || (mask.size() != 4 && std::count(present.begin(), present.end(), true) != 0)) {
        std::abort();
    }
    if (const auto value = ParseInteger(text)) {
        // A number reads back as itself once written plainly.
        if (ParseInteger(std::to_string(*value)) != value) {
            std::abort();
        }
    }
    return 0;
}
