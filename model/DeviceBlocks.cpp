// SPDX-License-Identifier: Apache-2.0
#include "model/DeviceBlocks.h"

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

int HexDigitValue(char digit) {
    if (digit >= '0' && digit <= '9') {
        return digit - '0';
    }
    if (digit >= 'a' && digit <= 'f') {
        return digit - 'a' + 10;
    }
    if (digit >= 'A' && digit <= 'F') {
        return digit - 'A' + 10;
    }
    return -1;
}

ChannelFlags ParseChannelMask(const std::string& maskText) {
    ChannelFlags present{};
    if (maskText.size() != 4) {
        return present;
    }
    unsigned value = 0;
    for (const char digit : maskText) {
        const int nibble = HexDigitValue(digit);
        if (nibble < 0) {
            return present;
        }
        value = value * 16 + unsigned(nibble);
    }
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        present[channel] = (value >> (16 - channel)) & 1U;
    }
    return present;
}

std::string KeyFunctionName(int key, int function) {
    static const char* const F1Functions[] = {"None", "UnLock"};
    static const char* const F2Functions[] = {"None", "GPIO OFF", "MEM"};
    if (key == 1 && function >= 0 && function < 2) {
        return F1Functions[function];
    }
    if (key == 2 && function >= 0 && function < 3) {
        return F2Functions[function];
    }
    return "(" + std::to_string(function) + ")";
}
