// SPDX-License-Identifier: Apache-2.0
// Replies from a panel as the link reads them: the open panel's exchange over an
// FTDI table that delivers the fuzz bytes, in chunks the input chooses, on a
// clock that only moves when the reader waits.
#include "link/D2XXUnit_mod.h"
#include "link/OpenPanel.h"
#include "link/WireProtocol.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

const std::uint8_t* Data = nullptr;
std::size_t Size = 0;
std::size_t Position = 0;
std::size_t Queued = 0; // bytes the fake chip reports as waiting
std::uint32_t Now = 0;

FT_STATUS FT_API Write(FT_HANDLE, void*, DWORD toWrite, DWORD* written) {
    *written = toWrite;
    return FT_OK;
}

// Each poll lets a chunk of the next bytes arrive; a zero chunk is a pause.
FT_STATUS FT_API QueueStatus(FT_HANDLE, DWORD* rxBytes) {
    if (Position + Queued < Size) {
        const std::size_t chunk = Data[Position + Queued] % 32;
        Queued = std::min(Size - Position, Queued + chunk);
    }
    *rxBytes = DWORD(Queued);
    return FT_OK;
}

FT_STATUS FT_API Read(FT_HANDLE, void* buffer, DWORD toRead, DWORD* got) {
    const std::size_t count = std::min<std::size_t>(toRead, Queued);
    std::memcpy(buffer, Data + Position, count);
    Position += count;
    Queued -= count;
    *got = DWORD(count);
    return FT_OK;
}

std::uint32_t NowMs() {
    return Now;
}

void SleepOneMs() {
    ++Now;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        FtdiApi api;
        api.Write = Write;
        api.GetQueueStatus = QueueStatus;
        api.Read = Read;
        SetFtdiApi(api);
        SetWireClock({NowMs, SleepOneMs});
        return true;
    }();
    (void)ready;
    if (size == 0) {
        return 0;
    }
    Data = data + 1;
    Size = size - 1;
    Position = 0;
    Queued = 0;
    const std::uint8_t command = std::uint8_t(data[0] % 8);
    std::atomic<bool> stop{false};
    std::uint8_t payload[404] = {};
    for (int round = 0; round < 8 && Position < Size; ++round) {
        const PanelExchange exchange = ExchangeWithPanel(command, payload, stop);
        if (exchange.result > LinkBadTrailer || exchange.result == LinkWriteFailed) {
            std::abort();
        }
        if (exchange.Ok() &&
            (exchange.replyCode == 0 || exchange.replyCode >= ReplyPayloadLength.size() ||
             RxBuffer[ReplyPayloadLength[exchange.replyCode]] != FrameTrailer)) {
            std::abort();
        }
        if (!exchange.Ok()) {
            // Every failure can be worded.
            if (exchange.FailureText().empty()) {
                std::abort();
            }
            break;
        }
    }
    return 0;
}
