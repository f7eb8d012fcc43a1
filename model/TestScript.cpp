// SPDX-License-Identifier: Apache-2.0
#include "model/TestScript.h"

#include "model/UnitProcs.h"

#include <algorithm>

namespace {

using namespace std::chrono_literals;

constexpr std::uint8_t FullComponent = 127;

void SetAllColours(ConfigBlock& block, const DeviceColour& colour) {
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        for (int state = 0; state < 4; ++state) {
            std::copy(colour.begin(), colour.end(), block.begin() + ColourOffset(channel, state));
        }
    }
}

TestStep Pause(std::chrono::milliseconds duration) {
    TestStep step;
    step.Kind = TestStepKind::Pause;
    step.Pause = duration;
    return step;
}

TestStep Gpio(int channel, std::uint8_t state) {
    TestStep step;
    step.Kind = TestStepKind::SetGpio;
    step.Channel = std::uint8_t(channel);
    step.State = state;
    return step;
}

TestStep Write(const ConfigBlock& block) {
    TestStep step;
    step.Kind = TestStepKind::WriteConfig;
    step.Block = block;
    return step;
}

// Six configuration steps, one per ramp intensity, 100 ms apart.
void AddRamp(TestScript& script, std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    for (const std::uint8_t intensity : TestIntensityRamp) {
        ConfigBlock block = TestBaseBlock();
        SetAllColours(block, {blue, green, red, intensity});
        script.push_back(Write(block));
        script.push_back(Pause(100ms));
    }
}

} // namespace

ConfigBlock TestBaseBlock() {
    ConfigBlock block{};
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        const std::size_t record = RecordOffset(channel);
        block[record + RecordCHANNEL] = std::uint8_t(channel);
        block[record + RecordDURATION] = 3;
    }
    SetAllColours(block, {FullComponent, FullComponent, FullComponent, 0});
    return block;
}

TestScript MakeTestScript(const ChannelFlags& channelPresent) {
    TestScript script;
    TestStep off;
    off.Kind = TestStepKind::GpioOff;
    script.push_back(off);

    ConfigBlock white = TestBaseBlock();
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        for (int state = 1; state < 4; ++state) {
            white[ColourOffset(channel, state) + ColourIntensity] = FullComponent;
        }
    }
    script.push_back(Write(white));

    for (int channel = 1; channel <= ChannelCount; ++channel) {
        if (channelPresent[channel]) {
            script.push_back(Gpio(channel, 1));
            script.push_back(Pause(400ms));
            script.push_back(Gpio(channel, 0));
            script.push_back(Pause(300ms));
        }
    }

    AddRamp(script, 0, 0, FullComponent);
    script.push_back(Pause(1000ms));
    AddRamp(script, 0, FullComponent, 0);
    script.push_back(Pause(1000ms));
    AddRamp(script, FullComponent, 0, 0);
    script.push_back(Pause(1000ms));
    AddRamp(script, FullComponent, FullComponent, FullComponent);

    ConfigBlock keys = TestBaseBlock();
    keys[ConfigMODE17] = 1;
    keys[ConfigMODE18] = 1;
    script.push_back(Write(keys));
    script.push_back(Pause(500ms));
    keys[ConfigMODE18] = 2;
    script.push_back(Write(keys));
    script.push_back(Pause(1000ms));

    ConfigBlock palette = TestBaseBlock();
    int slot = 1;
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        if (!channelPresent[channel]) {
            continue;
        }
        DeviceColour colour = ToDeviceColor(ColourPalette[slot]);
        colour[ColourIntensity] = FullComponent;
        for (int state = 0; state < 4; ++state) {
            std::copy(colour.begin(), colour.end(), palette.begin() + ColourOffset(channel, state));
        }
        slot = slot == 10 ? 1 : slot + 1;
    }
    script.push_back(Write(palette));
    script.push_back(Pause(3000ms));

    ConfigBlock factory;
    LoadFactoryValues(factory);
    script.push_back(Write(factory));
    return script;
}
