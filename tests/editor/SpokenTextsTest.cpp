// SPDX-License-Identifier: Apache-2.0
#include "editor/SpokenTexts.h"

#include <gtest/gtest.h>

namespace {

ColourEntry Entry(int slot, ScreenColour custom, std::uint8_t level) {
    ColourEntry entry;
    SetColourEntry(entry, slot, custom, level);
    return entry;
}

TEST(SpokenTexts, ColoursAreSaidByNameBrightnessAndState) {
    struct Case {
        int channel, state;
        ColourEntry entry;
        const char* expected;
    };
    const Case cases[] = {
        {3, 2, Entry(2, 0, 192), "Channel 3 colour, GPI: red, 75 %"},
        {1, 0, Entry(1, 0, 255), "Channel 1 colour, No signals: green, 100 %"},
        {16, 3, Entry(8, 0, 4), "Channel 16 colour, GPIO+GPI: orange, 2 %"},
        {5, 1, Entry(CustomSlot, 0x00563412, 128),
         "Channel 5 colour, GPIO: custom colour #123456, 50 %"},
        {7, 0, Entry(OffSlot, 0, 0), "Channel 7 colour, No signals: off"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SpokenColourButton(c.channel, c.state, c.entry).toStdString(), c.expected);
    }
}

TEST(SpokenTexts, ButtonsLampsAndMemoryCells) {
    EXPECT_EQ(SpokenGpioButton(5, true).toStdString(), "Channel 5 GPIO output, on");
    EXPECT_EQ(SpokenGpioButton(12, false).toStdString(), "Channel 12 GPIO output, off");
    EXPECT_EQ(SpokenLamp(2, true).toStdString(), "Channel 2 GPI input");
    EXPECT_EQ(SpokenMemoryCell(3, 0, true, false).toStdString(), "Slot 3: enabled");
    EXPECT_EQ(SpokenMemoryCell(3, 0, false, true).toStdString(), "Slot 3: disabled");
    EXPECT_EQ(SpokenMemoryCell(3, 5, true, true).toStdString(), "Slot 3, channel 5: member");
    EXPECT_EQ(SpokenMemoryCell(3, 5, false, true).toStdString(), "Slot 3, channel 5: not a member")
        << "the members of a disabled slot do not count";
}

} // namespace
