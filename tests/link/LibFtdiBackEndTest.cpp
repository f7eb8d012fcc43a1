// SPDX-License-Identifier: Apache-2.0
#include "link/LibFtdiBackEnd.h"

#include <libusb.h>

#include <gtest/gtest.h>

#include <set>

TEST(LibFtdiBackEnd, LocationIdsPackBusAndPortsAndStayDistinct) {
    EXPECT_EQ(LocationIdOf(1, {1}), 0x01100000u);
    EXPECT_EQ(LocationIdOf(3, {2, 4}), 0x03240000u);
    EXPECT_EQ(LocationIdOf(255, {1, 2, 3, 4, 5, 6}), 0xFF123456u);
    // Paths that do not pack are hashed, with the top bit set, and stay stable.
    const std::uint32_t deep = LocationIdOf(1, {1, 2, 3, 4, 5, 6, 7});
    EXPECT_EQ(deep, LocationIdOf(1, {1, 2, 3, 4, 5, 6, 7}));
    EXPECT_NE(deep & 0x80000000u, 0u);
    // Every device on a hub of up to 15 ports, on four buses, gets its own id.
    std::set<std::uint32_t> seen;
    for (std::uint8_t bus = 1; bus <= 4; ++bus) {
        for (std::uint8_t port = 1; port <= 20; ++port) {
            for (std::uint8_t below = 0; below <= 15; ++below) {
                const std::vector<std::uint8_t> path = below == 0
                                                           ? std::vector<std::uint8_t>{port}
                                                           : std::vector<std::uint8_t>{port, below};
                EXPECT_TRUE(seen.insert(LocationIdOf(bus, path)).second)
                    << int(bus) << "-" << int(port) << "." << int(below);
            }
        }
    }
}

TEST(LibFtdiBackEnd, LibusbErrorsMapToTheStatusFtdisLibraryGives) {
    const std::pair<int, FT_STATUS> cases[] = {
        {LIBUSB_SUCCESS, FT_OK},
        {LIBUSB_ERROR_NO_DEVICE, FT_IO_ERROR}, // unplugged
        {LIBUSB_ERROR_IO, FT_IO_ERROR},
        {LIBUSB_ERROR_TIMEOUT, FT_IO_ERROR},
        {LIBUSB_ERROR_BUSY, FT_DEVICE_NOT_OPENED}, // another program has it
        {LIBUSB_ERROR_ACCESS, FT_DEVICE_NOT_OPENED},
        {LIBUSB_ERROR_NOT_FOUND, FT_DEVICE_NOT_FOUND},
        {LIBUSB_ERROR_INVALID_PARAM, FT_INVALID_PARAMETER},
        {LIBUSB_ERROR_NO_MEM, 5u},
        {LIBUSB_ERROR_NOT_SUPPORTED, 17u},
        {LIBUSB_ERROR_OTHER, FT_OTHER_ERROR},
        {-12345, FT_OTHER_ERROR},
    };
    for (const auto& [error, status] : cases) {
        EXPECT_EQ(StatusOfLibusbError(error), status) << error;
    }
}
