// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/DeviceBlocks.h"

#include <array>
#include <cstdint>
#include <string>

// Colour and brightness model. A device colour is 4 bytes blue, green, red,
// intensity (7 bits each); a screen colour is 0x00BBGGRR with 8-bit components.

using DeviceColour = std::array<std::uint8_t, 4>;
using ScreenColour = std::uint32_t;

inline constexpr ScreenColour GreyDisplayColour = 0x00808080;
inline constexpr int CustomSlot = 11;
inline constexpr int OffSlot = 12;

// Palette slots 1..12 (index 0 unused): slot 11 is the custom colour, 12 is "OFF".
inline constexpr std::array<ScreenColour, 13> ColourPalette = {
    0,          0x0000FF00, 0x000000FF, 0x00FF0000, 0x0000FF90, 0x009000FF, 0x00FFFF00,
    0x0000FFFF, 0x000A70FF, 0x00FF0080, 0x00FFFFFF, 0x00FFFFFF, 0x00000000,
};

// Function key tables, indexed [key state][key function].
inline constexpr ScreenColour F1Background[2][2] = {{0x00FFFFFF, 0x00AAAAFF},
                                                    {0x00FFFFFF, 0x005555FF}};
inline constexpr ScreenColour F1Text[2][2] = {{0x00000000, 0x00000000}, {0x00000000, 0x00FFFFFF}};
inline constexpr ScreenColour F2Background[2][3] = {{0x00FFFFFF, 0x00AAAAFF, 0x00FFBB99},
                                                    {0x00FFFFFF, 0x005555FF, 0x00FF5500}};
inline constexpr ScreenColour F2Text[2][3] = {{0x00000000, 0x00000000, 0x00000000},
                                              {0x00000000, 0x00FFFFFF, 0x00FFFFFF}};

// Device intensities the panel test steps through, in rising order.
inline constexpr std::array<std::uint8_t, 6> TestIntensityRamp = {2, 16, 32, 64, 96, 127};

struct ColourEntry {
    DeviceColour DeviceColor{};
    int PaletteSlot = 1;
    ScreenColour ScreenColor = 0;
    ScreenColour DisplayColor = GreyDisplayColour;
    std::uint8_t Brightness = 0;

    bool operator==(const ColourEntry&) const = default;
};

std::uint8_t ClampByte(int value);
ScreenColour ToScreenColor(const DeviceColour& colour);
DeviceColour ToDeviceColor(ScreenColour colour);
DeviceColour DoubleComponents(const DeviceColour& colour);
std::uint32_t SwapRedBlue(std::uint32_t value);
ScreenColour DisplayColourOf(const DeviceColour& colour, int level);
std::string BrightnessText(int level);
int PaletteSlotOf(ScreenColour colour);
ColourEntry DecodeColourEntry(const DeviceColour& bytes);
// The colour field of a channel's signal state in a configuration block, decoded.
ColourEntry ColourEntryOf(const ConfigBlock& block, int channel, int state);
DeviceColour EncodeColourEntry(const ColourEntry& entry);
void SetColourEntry(ColourEntry& entry, int slot, ScreenColour customColour, std::uint8_t level);

// Colours of the F1/F2 buttons for a key state and function. Values outside the
// tables show the key as having no function (white, black text).
ScreenColour FunctionKeyBackground(int key, int state, int function);
ScreenColour FunctionKeyText(int key, int state, int function);
