// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

// A bulk IN transfer from an FT232R holds whole USB packets of `packetSize`
// bytes (the last one may be short), each starting with the chip's two modem
// status bytes. Appends what follows the status bytes of every packet to `queue`.
void AppendPacketPayloads(const std::uint8_t* transfer, std::size_t length, std::size_t packetSize,
                          std::deque<std::uint8_t>& queue);
