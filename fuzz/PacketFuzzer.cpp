// SPDX-License-Identifier: Apache-2.0
// Bulk IN transfers from the chip as the libftdi1 back-end splits them: the
// first byte chooses the packet size, the rest is the transfer. Every byte
// after a packet's two status bytes must come out, in order, and no other.
#include "link/Ft232rPackets.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t packetSize = data[0];
    const std::uint8_t* transfer = data + 1;
    const std::size_t length = size - 1;
    std::deque<std::uint8_t> queue;
    AppendPacketPayloads(transfer, length, packetSize, queue);

    const std::size_t step = packetSize < 3 ? 3 : packetSize;
    std::size_t expected = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (i % step >= 2) {
            if (expected >= queue.size() || queue[expected] != transfer[i]) {
                std::abort();
            }
            ++expected;
        }
    }
    if (expected != queue.size()) {
        std::abort();
    }
    return 0;
}
