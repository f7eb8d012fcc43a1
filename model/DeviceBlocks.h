// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

// Byte layouts of the blocks exchanged with the panel. Both are wire formats:
// offsets and widths are fixed by the panel's firmware.

inline constexpr int ChannelCount = 16;
inline constexpr std::size_t StatusBlockSize = 19;
inline constexpr std::size_t ChannelRecordSize = 25;
inline constexpr std::size_t ConfigBlockSize = 404;
inline constexpr std::size_t ConfigReplySize = StatusBlockSize + ConfigBlockSize; // 423

using StatusBlock = std::array<std::uint8_t, StatusBlockSize>;
using ConfigBlock = std::array<std::uint8_t, ConfigBlockSize>;
using ConfigReply = std::array<std::uint8_t, ConfigReplySize>;

// Status block offsets. STATE of channel n (1..16) is at n - 1.
inline constexpr std::size_t StatusSTATE17 = 16;   // F1 key: 0 idle, 1 active
inline constexpr std::size_t StatusSTATE18 = 17;   // F2 key
inline constexpr std::size_t StatusLOCKSTATE = 18; // 0 unlocked, otherwise locked

inline constexpr std::size_t StatusStateOffset(int channel) {
    return std::size_t(channel - 1);
}

// Configuration block: 16 channel records, then four panel-wide bytes.
inline constexpr std::size_t ConfigSAVE = 400;
inline constexpr std::size_t ConfigLOCK = 401;
inline constexpr std::size_t ConfigMODE17 = 402;
inline constexpr std::size_t ConfigMODE18 = 403;

// Offsets inside one channel record.
inline constexpr std::size_t RecordCHANNEL = 0;
inline constexpr std::size_t RecordGROUP = 1;
inline constexpr std::size_t RecordMODE = 2;
inline constexpr std::size_t RecordDURATION = 3;
inline constexpr std::size_t RecordCOLOR0 =
    4; // COLORs starts at 4 + 4 * s: blue, green, red, intensity
inline constexpr std::size_t RecordMEM0 = 20; // MEMk at 20 + k
inline constexpr std::size_t RecordISMEM = 24;

// Device colour byte order inside a colour field.
inline constexpr std::size_t ColourBlue = 0;
inline constexpr std::size_t ColourGreen = 1;
inline constexpr std::size_t ColourRed = 2;
inline constexpr std::size_t ColourIntensity = 3;

enum GpioMode : std::uint8_t { ModeFree = 0, ModeFixed = 1, ModePulse = 2 };

inline constexpr std::size_t RecordOffset(int channel) {
    return ChannelRecordSize * std::size_t(channel - 1);
}
inline constexpr std::size_t ColourOffset(int channel, int state) {
    return RecordOffset(channel) + RecordCOLOR0 + 4 * std::size_t(state);
}
inline constexpr std::size_t MemoryByteOffset(int channel, int k) {
    return RecordOffset(channel) + RecordMEM0 + std::size_t(k);
}

// Splits a reply to command 3 into its status part and its configuration part.
StatusBlock StatusPartOf(const ConfigReply& reply);
ConfigBlock ConfigPartOf(const ConfigReply& reply);

// Overwrites the whole block with the configuration the panel leaves the factory with.
void LoadFactoryValues(ConfigBlock& block);

// The text before the last dot and the text after it; without a dot: (text, "").
std::pair<std::string, std::string> SplitAtLastDot(const std::string& text);

// The value of one hexadecimal digit in either letter case; -1 for any other character.
int HexDigitValue(char digit);

// ChannelPresent[1..16] (index 0 unused) from the four hex digits of a channel mask:
// bit 15 is channel 1, bit 0 channel 16. Any other text yields no channel.
using ChannelFlags = std::array<bool, ChannelCount + 1>;
ChannelFlags ParseChannelMask(const std::string& maskText);

// The name of a function of key F1 (`key` 1, byte MODE17) or F2 (`key` 2, byte
// MODE18) as the editor's menus show it: "None", "UnLock"; "None", "GPIO OFF",
// "MEM". A value no menu offers is shown as its number in brackets, "(7)".
std::string KeyFunctionName(int key, int function);
