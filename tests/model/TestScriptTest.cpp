// SPDX-License-Identifier: Apache-2.0
#include "model/TestScript.h"
#include "model/UnitProcs.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

ChannelFlags FirstChannels(int count) {
    ChannelFlags present{};
    for (int channel = 1; channel <= count; ++channel) {
        present[channel] = true;
    }
    return present;
}

std::vector<TestStep> Configurations(const TestScript& script) {
    std::vector<TestStep> steps;
    for (const TestStep& step : script) {
        if (step.Kind == TestStepKind::WriteConfig) {
            steps.push_back(step);
        }
    }
    return steps;
}

TEST(TestScript, SizeAndPausesFollowThePresentChannels) {
    struct Case {
        int present;
        std::size_t steps;
        std::chrono::milliseconds pauses;
    };
    for (const Case c : {Case{16, 124, std::chrono::milliseconds(21100)},
                         Case{0, 60, std::chrono::milliseconds(9900)},
                         Case{12, 108, std::chrono::milliseconds(9900 + 12 * 700)}}) {
        SCOPED_TRACE(c.present);
        const TestScript script = MakeTestScript(FirstChannels(c.present));
        EXPECT_EQ(script.size(), c.steps);
        EXPECT_EQ(Configurations(script).size(), 29u);
        const auto pauses = std::accumulate(
            script.begin(), script.end(), std::chrono::milliseconds(0),
            [](std::chrono::milliseconds sum, const TestStep& step) { return sum + step.Pause; });
        EXPECT_EQ(pauses, c.pauses);
    }
}

TEST(TestScript, StartsWithAllOffAndEndsOnTheFactoryConfiguration) {
    const TestScript script = MakeTestScript(FirstChannels(16));
    EXPECT_EQ(script.front().Kind, TestStepKind::GpioOff);
    ASSERT_EQ(script[1].Kind, TestStepKind::WriteConfig);
    EXPECT_EQ(script[1].Block[ColourOffset(7, 0) + ColourIntensity], 0);
    EXPECT_EQ(script[1].Block[ColourOffset(7, 3) + ColourIntensity], 127);
    EXPECT_EQ(script[1].Block[ColourOffset(7, 3) + ColourRed], 127);
    // The key presses follow at once, without a pause after the white block.
    EXPECT_EQ(script[2].Kind, TestStepKind::SetGpio);
    EXPECT_EQ(script[2].Channel, 1);
    EXPECT_EQ(script[2].State, 1);
    EXPECT_EQ(script[3].Pause.count(), 400);
    EXPECT_EQ(script[4].State, 0);
    EXPECT_EQ(script[5].Pause.count(), 300);

    ConfigBlock factory;
    LoadFactoryValues(factory);
    ASSERT_EQ(script.back().Kind, TestStepKind::WriteConfig);
    EXPECT_EQ(script.back().Block, factory);
}

TEST(TestScript, RampsKeysAndPaletteStages) {
    const std::vector<TestStep> steps = Configurations(MakeTestScript(FirstChannels(12)));
    // Red ramp first: blue 0, green 0, red 127 at the rising intensities.
    for (std::size_t i = 0; i < TestIntensityRamp.size(); ++i) {
        const ConfigBlock& block = steps[1 + i].Block;
        EXPECT_EQ(block[ColourOffset(16, 2) + ColourRed], 127);
        EXPECT_EQ(block[ColourOffset(16, 2) + ColourGreen], 0);
        EXPECT_EQ(block[ColourOffset(16, 2) + ColourIntensity], TestIntensityRamp[i]);
    }
    EXPECT_EQ(steps[19].Block[ColourOffset(1, 0) + ColourBlue], 127) << "white ramp";
    EXPECT_EQ(steps[19].Block[ColourOffset(1, 0) + ColourGreen], 127);
    EXPECT_EQ(steps[25].Block[ConfigMODE17], 1);
    EXPECT_EQ(steps[25].Block[ConfigMODE18], 1);
    EXPECT_EQ(steps[26].Block[ConfigMODE18], 2);

    const ConfigBlock& palette = steps[27].Block;
    const int expectedSlots[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1, 2};
    for (int channel = 1; channel <= 12; ++channel) {
        DeviceColour colour = ToDeviceColor(ColourPalette[expectedSlots[channel]]);
        colour[ColourIntensity] = 127;
        for (int state = 0; state < 4; ++state) {
            const DeviceColour stored{palette[ColourOffset(channel, state)],
                                      palette[ColourOffset(channel, state) + 1],
                                      palette[ColourOffset(channel, state) + 2],
                                      palette[ColourOffset(channel, state) + 3]};
            EXPECT_EQ(stored, colour) << "channel " << channel << " state " << state;
        }
    }
    EXPECT_EQ(palette[ColourOffset(13, 0) + ColourIntensity], 0) << "absent channels keep the base";

    const std::vector<TestStep> none = Configurations(MakeTestScript(FirstChannels(0)));
    EXPECT_EQ(none[27].Block, TestBaseBlock());
}

} // namespace
