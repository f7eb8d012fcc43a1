// SPDX-License-Identifier: Apache-2.0
#include "link/Ft232rPackets.h"

#include <algorithm>

void AppendPacketPayloads(const std::uint8_t* transfer, std::size_t length, std::size_t packetSize,
                          std::deque<std::uint8_t>& queue) {
    // A packet size the device cannot have would carry no payload at all.
    packetSize = std::max<std::size_t>(packetSize, 3);
    for (std::size_t packet = 0; packet < length; packet += packetSize) {
        const std::size_t end = std::min(length, packet + packetSize);
        if (end > packet + 2) {
            queue.insert(queue.end(), transfer + packet + 2, transfer + end);
        }
    }
}
