// SPDX-License-Identifier: Apache-2.0
#include "model/UnitProcs.h"

#include <QtGlobal>

#include <cmath>

std::uint8_t ClampByte(int value) {
    if (value < 0) {
        return 0;
    }
    if (value >= 254) {
        return 255;
    }
    return std::uint8_t(value);
}

ScreenColour ToScreenColor(const DeviceColour& colour) {
    const ScreenColour red = ClampByte(2 * colour[2]);
    const ScreenColour green = ClampByte(2 * colour[1]);
    const ScreenColour blue = ClampByte(2 * colour[0]);
    return blue << 16 | green << 8 | red;
}

DeviceColour ToDeviceColor(ScreenColour colour) {
    return {std::uint8_t(((colour >> 16) & 0xFF) / 2), std::uint8_t(((colour >> 8) & 0xFF) / 2),
            std::uint8_t((colour & 0xFF) / 2), 0};
}

DeviceColour DoubleComponents(const DeviceColour& colour) {
    return {ClampByte(2 * colour[0]), ClampByte(2 * colour[1]), ClampByte(2 * colour[2]), 0};
}

std::uint32_t SwapRedBlue(std::uint32_t value) {
    return (value & 0xFF) << 16 | (value & 0xFF00) | ((value >> 16) & 0xFF);
}

ScreenColour DisplayColourOf(const DeviceColour& colour, int level) {
    if (level < 4) {
        return GreyDisplayColour;
    }
    const double weight = (level + 50) / 305.0;
    const DeviceColour doubled = DoubleComponents(colour);
    std::uint32_t blended = 0;
    for (int component = 0; component < 3; ++component) {
        const double value = (1.0 - weight) * 160.0 + doubled[component] * weight;
        blended |= std::uint32_t(ClampByte(int(std::lround(value)))) << (8 * component);
    }
    return SwapRedBlue(blended);
}

std::string BrightnessText(int level) {
    switch (level) {
    case 255:
        return "100%";
    case 192:
        return "75%";
    case 128:
        return "50%";
    case 64:
        return "30%";
    case 32:
        return "15%";
    case 4:
        return QT_TRANSLATE_NOOP("UnitProcs", "min");
    case 0:
        return QT_TRANSLATE_NOOP("UnitProcs", "none");
    default:
        return "(" + std::to_string(level) + ")";
    }
}

int PaletteSlotOf(ScreenColour colour) {
    for (int slot = 1; slot <= OffSlot; ++slot) {
        if (ColourPalette[slot] == colour) {
            return slot;
        }
    }
    return CustomSlot;
}

ColourEntry DecodeColourEntry(const DeviceColour& bytes) {
    ColourEntry entry;
    entry.DeviceColor = bytes;
    entry.ScreenColor = ToScreenColor(bytes);
    entry.Brightness = ClampByte(2 * bytes[3]);
    entry.PaletteSlot = PaletteSlotOf(entry.ScreenColor);
    entry.DisplayColor = DisplayColourOf(bytes, entry.Brightness);
    return entry;
}

ColourEntry ColourEntryOf(const ConfigBlock& block, int channel, int state) {
    const std::size_t at = ColourOffset(channel, state);
    return DecodeColourEntry({block[at], block[at + 1], block[at + 2], block[at + 3]});
}

DeviceColour EncodeColourEntry(const ColourEntry& entry) {
    return {entry.DeviceColor[0], entry.DeviceColor[1], entry.DeviceColor[2],
            std::uint8_t(entry.Brightness / 2)};
}

void SetColourEntry(ColourEntry& entry, int slot, ScreenColour customColour, std::uint8_t level) {
    entry.PaletteSlot = slot;
    entry.ScreenColor = slot == CustomSlot ? customColour : ColourPalette[slot];
    entry.DeviceColor = ToDeviceColor(entry.ScreenColor);
    entry.Brightness = level;
}

ScreenColour FunctionKeyBackground(int key, int state, int function) {
    if (state < 0 || state > 1 || function < 0) {
        return F1Background[0][0];
    }
    if (key == 1) {
        return function <= 1 ? F1Background[state][function] : F1Background[0][0];
    }
    return function <= 2 ? F2Background[state][function] : F2Background[0][0];
}

ScreenColour FunctionKeyText(int key, int state, int function) {
    if (state < 0 || state > 1 || function < 0) {
        return F1Text[0][0];
    }
    if (key == 1) {
        return function <= 1 ? F1Text[state][function] : F1Text[0][0];
    }
    return function <= 2 ? F2Text[state][function] : F2Text[0][0];
}
