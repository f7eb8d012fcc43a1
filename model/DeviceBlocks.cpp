#include "DeviceBlocks.h"

#include <algorithm>

StatusBlock StatusPartOf(const ConfigReply& reply) {
    StatusBlock status{};
    std::copy_n(reply.begin(), StatusBlockSize, status.begin());
    return status;
}

ConfigBlock ConfigPartOf(const ConfigReply& reply) {
    ConfigBlock block{};
    std::copy_n(reply.begin() + StatusBlockSize, ConfigBlockSize, block.begin());
    return block;
}

void LoadFactoryValues(ConfigBlock& block) {
    // blue, green, red, intensity for the four signal states
    static constexpr std::uint8_t FactoryColours[4][4] = {
        {127, 127, 127, 2}, // white at "min"
        {0, 127, 0, 96},    // green at 75%
        {0, 0, 127, 96},    // red at 75%
        {0, 127, 127, 96},  // yellow at 75%
    };
    block.fill(0);
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        const std::size_t record = RecordOffset(channel);
        block[record + RecordCHANNEL] = std::uint8_t(channel);
        block[record + RecordDURATION] = 3;
        for (int state = 0; state < 4; ++state) {
            std::copy_n(FactoryColours[state], 4, block.begin() + ColourOffset(channel, state));
        }
    }
}

std::pair<std::string, std::string> SplitAtLastDot(const std::string& text) {
    const auto dot = text.rfind('.');
    if (dot == std::string::npos) {
        return {text, std::string()};
    }
    return {text.substr(0, dot), text.substr(dot + 1)};
}

ChannelFlags ParseChannelMask(const std::string& maskText) {
    ChannelFlags present{};
    if (maskText.size() != 4) {
        return present;
    }
    unsigned value = 0;
    for (const char digit : maskText) {
        unsigned nibble = 0;
        if (digit >= '0' && digit <= '9') {
            nibble = unsigned(digit - '0');
        } else if (digit >= 'a' && digit <= 'f') {
            nibble = unsigned(digit - 'a' + 10);
        } else if (digit >= 'A' && digit <= 'F') {
            nibble = unsigned(digit - 'A' + 10);
        } else {
            return present;
        }
        value = value * 16 + nibble;
    }
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        present[channel] = (value >> (16 - channel)) & 1U;
    }
    return present;
}
