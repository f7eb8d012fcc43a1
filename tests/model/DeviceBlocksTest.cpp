// SPDX-License-Identifier: Apache-2.0
#include "model/DeviceBlocks.h"
#include "model/UnitProcs.h"

#include <gtest/gtest.h>

namespace {

std::vector<int> PresentChannels(const std::string& mask) {
    const ChannelFlags flags = ParseChannelMask(mask);
    std::vector<int> channels;
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        if (flags[channel]) {
            channels.push_back(channel);
        }
    }
    return channels;
}

TEST(ChannelMask, HexDigitsSelectChannelsFromTheTopBit) {
    struct Case {
        std::string mask;
        std::vector<int> channels;
    };
    const Case cases[] = {
        {"FFFF", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        {"ffff", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        {"8000", {1}},
        {"0001", {16}},
        {"00FF", {9, 10, 11, 12, 13, 14, 15, 16}},
        {"FF00", {1, 2, 3, 4, 5, 6, 7, 8}},
        {"00f0", {9, 10, 11, 12}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PresentChannels(c.mask), c.channels) << c.mask;
    }
}

TEST(ChannelMask, AnythingButFourHexDigitsGivesNoChannel) {
    for (const std::string mask : {"0000", "FFF", "1FFFF", "GHIJ", "", " FFF", "FF F", "-001"}) {
        EXPECT_TRUE(PresentChannels(mask).empty()) << '"' << mask << '"';
    }
}

TEST(ChannelMask, SerialNumberSplitsAtTheLastDot) {
    EXPECT_EQ(SplitAtLastDot("AB.CD.00F0"),
              std::make_pair(std::string("AB.CD"), std::string("00F0")));
    EXPECT_EQ(PresentChannels(SplitAtLastDot("AB.CD.00F0").second), (std::vector{9, 10, 11, 12}));
    EXPECT_EQ(SplitAtLastDot("NODOT"), std::make_pair(std::string("NODOT"), std::string()));
    EXPECT_EQ(SplitAtLastDot("ENDS."), std::make_pair(std::string("ENDS"), std::string()));
}

TEST(FactoryValues, EveryRecordHoldsItsChannelAndTheFactoryColours) {
    ConfigBlock block;
    block.fill(0xAA);
    LoadFactoryValues(block);
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        const std::size_t record = RecordOffset(channel);
        EXPECT_EQ(block[record + RecordCHANNEL], channel);
        EXPECT_EQ(block[record + RecordGROUP], 0);
        EXPECT_EQ(block[record + RecordMODE], ModeFree);
        EXPECT_EQ(block[record + RecordDURATION], 3);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(block[MemoryByteOffset(channel, k)], 0);
        }
        EXPECT_EQ(block[record + RecordISMEM], 0);
        const DeviceColour state0{
            block[ColourOffset(channel, 0)], block[ColourOffset(channel, 0) + 1],
            block[ColourOffset(channel, 0) + 2], block[ColourOffset(channel, 0) + 3]};
        EXPECT_EQ(state0, (DeviceColour{127, 127, 127, 2}));
        EXPECT_EQ(BrightnessText(DecodeColourEntry(state0).Brightness), "min");
        for (int state = 1; state < 4; ++state) {
            EXPECT_EQ(block[ColourOffset(channel, state) + ColourIntensity], 96);
        }
    }
    EXPECT_EQ(block[ColourOffset(1, 1) + ColourGreen], 127);
    EXPECT_EQ(block[ColourOffset(1, 2) + ColourRed], 127);
    EXPECT_EQ(block[ColourOffset(1, 3) + ColourRed], 127);
    EXPECT_EQ(block[ColourOffset(1, 3) + ColourGreen], 127);
    for (std::size_t offset : {ConfigSAVE, ConfigLOCK, ConfigMODE17, ConfigMODE18}) {
        EXPECT_EQ(block[offset], 0);
    }
}

TEST(ConfigReply, SplitsIntoStatusAndConfiguration) {
    ConfigReply reply{};
    for (std::size_t i = 0; i < reply.size(); ++i) {
        reply[i] = std::uint8_t(i);
    }
    EXPECT_EQ(StatusPartOf(reply)[18], 18);
    EXPECT_EQ(ConfigPartOf(reply)[0], 19);
    EXPECT_EQ(ConfigPartOf(reply)[403], std::uint8_t(422));
}

} // namespace
