// SPDX-License-Identifier: Apache-2.0
#include "model/UnitProcs.h"

#include <gtest/gtest.h>

namespace {

TEST(ColourModel, ClampByteRoundsTheTopStepUp) {
    const std::pair<int, int> cases[] = {{-1, 0},    {0, 0},     {253, 253},
                                         {254, 255}, {255, 255}, {300, 255}};
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(ClampByte(in), out) << in;
    }
}

TEST(ColourModel, ConversionsBetweenDeviceAndScreenColours) {
    EXPECT_EQ(ToScreenColor({64, 0, 127, 55}), 0x008000FFu);
    EXPECT_EQ(ToDeviceColor(0x00FF0080), (DeviceColour{127, 0, 64, 0}));
    EXPECT_EQ(ToScreenColor({63, 0, 126, 0}), 0x007E00FCu); // 126 doubles to 252, not 255
    EXPECT_EQ(DoubleComponents({127, 1, 0, 99}), (DeviceColour{255, 2, 0, 0}));
    EXPECT_EQ(SwapRedBlue(0xAB123456), 0x00563412u);
}

TEST(ColourModel, OddCustomComponentsLoseTheirLowBit) {
    const ScreenColour custom = 0x00000011;
    const ScreenColour back = ToScreenColor(ToDeviceColor(custom));
    EXPECT_EQ(back, 0x00000010u);
    EXPECT_EQ(PaletteSlotOf(back), CustomSlot);
}

TEST(ColourModel, EveryPaletteSlotSurvivesTheRoundTrip) {
    for (int slot = 1; slot <= OffSlot; ++slot) {
        const ScreenColour back = ToScreenColor(ToDeviceColor(ColourPalette[slot]));
        EXPECT_EQ(back, ColourPalette[slot]) << slot;
        const int expected = slot == CustomSlot ? 10 : slot; // the placeholder white is slot 10
        EXPECT_EQ(PaletteSlotOf(back), expected) << slot;
    }
    EXPECT_EQ(PaletteSlotOf(0x00FFFFFF), 10);
    EXPECT_EQ(PaletteSlotOf(0), OffSlot);
    EXPECT_EQ(PaletteSlotOf(0x00123456), CustomSlot);
}

TEST(ColourModel, DisplayColourWorkedExamples) {
    const DeviceColour white{127, 127, 127, 0};
    const DeviceColour black{0, 0, 0, 0};
    const DeviceColour red{0, 0, 127, 0};
    EXPECT_EQ(DisplayColourOf(white, 255), 0x00FFFFFFu);
    EXPECT_EQ(DisplayColourOf(white, 4), 0x00B1B1B1u);
    EXPECT_EQ(DisplayColourOf(black, 4), 0x00848484u);
    EXPECT_EQ(DisplayColourOf(red, 192), 0x002121EBu);
    EXPECT_EQ(DisplayColourOf(black, 255), 0x00000000u);
}

TEST(ColourModel, DisplayColourIsGreyBelowLevelFourAndPlainAtFull) {
    for (int slot = 1; slot <= OffSlot; ++slot) {
        const DeviceColour colour = ToDeviceColor(ColourPalette[slot]);
        EXPECT_EQ(DisplayColourOf(colour, 0), GreyDisplayColour);
        EXPECT_EQ(DisplayColourOf(colour, 2), GreyDisplayColour);
        EXPECT_EQ(DisplayColourOf(colour, 255), ToScreenColor(colour));
    }
}

TEST(ColourModel, BrightnessLevelsAndTheirTexts) {
    const std::pair<int, const char*> named[] = {{255, "100%"}, {192, "75%"}, {128, "50%"},
                                                 {64, "30%"},   {32, "15%"},  {4, "min"},
                                                 {0, "none"}};
    for (const auto& [level, text] : named) {
        EXPECT_EQ(BrightnessText(level), text);
        EXPECT_EQ(ClampByte(2 * (level / 2)), level) << "level survives intensity round trip";
    }
    EXPECT_EQ(BrightnessText(6), "(6)");
    EXPECT_EQ(BrightnessText(254), "(254)");
}

TEST(ColourModel, DecodeReadsIntensityAsDoubledBrightness) {
    EXPECT_EQ(DecodeColourEntry({0, 0, 0, 127}).Brightness, 255);
    EXPECT_EQ(DecodeColourEntry({0, 0, 0, 2}).Brightness, 4);
    const ColourEntry dim = DecodeColourEntry({127, 127, 127, 1});
    EXPECT_EQ(dim.Brightness, 2);
    EXPECT_EQ(BrightnessText(dim.Brightness), "(2)");
    EXPECT_EQ(dim.DisplayColor, GreyDisplayColour);

    const ColourEntry off = DecodeColourEntry({0, 0, 0, 96});
    EXPECT_EQ(off.PaletteSlot, OffSlot);
    EXPECT_EQ(off.ScreenColor, 0u);
}

TEST(ColourModel, EncodeAndSetColourEntry) {
    ColourEntry entry = DecodeColourEntry({1, 2, 3, 4});
    const ScreenColour displayBefore = entry.DisplayColor;
    SetColourEntry(entry, 2, 0x00123456, 192);
    EXPECT_EQ(entry.PaletteSlot, 2);
    EXPECT_EQ(entry.ScreenColor, 0x000000FFu);
    EXPECT_EQ(entry.DeviceColor, (DeviceColour{0, 0, 127, 0}));
    EXPECT_EQ(entry.DisplayColor, displayBefore) << "recomputed only from the panel's reply";
    EXPECT_EQ(EncodeColourEntry(entry), (DeviceColour{0, 0, 127, 96}));

    SetColourEntry(entry, CustomSlot, 0x00112233, 255);
    EXPECT_EQ(entry.ScreenColor, 0x00112233u);
    EXPECT_EQ(EncodeColourEntry(entry), (DeviceColour{0x08, 0x11, 0x19, 127}));
}

TEST(ColourModel, FunctionKeyTablesAndOutOfRangeValues) {
    EXPECT_EQ(FunctionKeyBackground(2, 1, 2), 0x00FF5500u);
    EXPECT_EQ(FunctionKeyText(2, 1, 2), 0x00FFFFFFu);
    EXPECT_EQ(FunctionKeyBackground(1, 0, 1), 0x00AAAAFFu);
    EXPECT_EQ(FunctionKeyBackground(1, 1, 1), 0x005555FFu);
    EXPECT_EQ(FunctionKeyText(1, 1, 0), 0x00000000u);
    // Values the tables do not cover show a key without function.
    EXPECT_EQ(FunctionKeyBackground(1, 1, 2), 0x00FFFFFFu);
    EXPECT_EQ(FunctionKeyBackground(2, 7, 1), 0x00FFFFFFu);
    EXPECT_EQ(FunctionKeyText(2, 0, 9), 0x00000000u);
}

} // namespace
