// SPDX-License-Identifier: Apache-2.0
#include "link/Ft232rPackets.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::uint8_t> Payloads(const std::vector<std::uint8_t>& transfer,
                                   std::size_t packetSize) {
    std::deque<std::uint8_t> queue = {0xAA}; // what was there stays in front
    AppendPacketPayloads(transfer.data(), transfer.size(), packetSize, queue);
    return {queue.begin() + 1, queue.end()};
}

} // namespace

TEST(Ft232rPackets, StatusBytesOfEveryPacketAreDropped) {
    EXPECT_TRUE(Payloads({}, 64).empty());
    EXPECT_TRUE(Payloads({0x01, 0x60}, 64).empty()) << "a status-only packet";
    EXPECT_EQ(Payloads({0x01, 0x60, 0xC7, 0xD0}, 64), (std::vector<std::uint8_t>{0xC7, 0xD0}));

    // Two full packets and a short one: 62 + 62 + 3 payload bytes, in order.
    std::vector<std::uint8_t> transfer;
    std::vector<std::uint8_t> expected;
    for (std::size_t length : {64u, 64u, 5u}) {
        transfer.push_back(0x01);
        transfer.push_back(0x60);
        for (std::size_t i = 2; i < length; ++i) {
            transfer.push_back(std::uint8_t(expected.size()));
            expected.push_back(std::uint8_t(expected.size()));
        }
    }
    EXPECT_EQ(Payloads(transfer, 64), expected);
    // A last packet of one byte is cut off inside its status.
    transfer.resize(65);
    expected.resize(62);
    EXPECT_EQ(Payloads(transfer, 64), expected);
    // Packet sizes a device cannot have still split somewhere and end.
    EXPECT_EQ(Payloads({1, 2, 3, 4, 5, 6}, 0), (std::vector<std::uint8_t>{3, 6}));
}
