// SPDX-License-Identifier: Apache-2.0
#include "link/WireProtocol.h"

#include "link/D2XXUnit_mod.h"
#include "link/LinkLogging.h"
#include "link/LinkSleep.h"

#include <QByteArray>

#include <algorithm>
#include <chrono>

namespace {

std::uint32_t SteadyTickCountMs() {
    using namespace std::chrono;
    return std::uint32_t(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

WireClock Clock{SteadyTickCountMs, SleepOneMillisecond};

} // namespace

void SetWireClock(const WireClock& clock) {
    Clock = clock;
}

void UseRealWireClock() {
    Clock = WireClock{SteadyTickCountMs, SleepOneMillisecond};
}

std::uint32_t WireNowMs() {
    return Clock.NowMs();
}

void WireSleepOneMs() {
    Clock.SleepOneMs();
}

std::uint32_t SendFrame(std::uint8_t code, const std::uint8_t* payload) {
    // A code without a payload length is sent bare rather than read past the table.
    const std::uint32_t length =
        code < CommandPayloadLength.size() ? CommandPayloadLength[code] : 0;
    std::copy(FrameHeader.begin(), FrameHeader.end(), TxBuffer.begin());
    TxBuffer[3] = code;
    if (length > 0) {
        std::copy_n(payload, length, TxBuffer.begin() + 4);
    }
    TxBuffer[4 + length] = FrameTrailer;
    qCDebug(lcWire) << "sent"
                    << QByteArray::fromRawData(reinterpret_cast<const char*>(TxBuffer.data()),
                                               qsizetype(length + 5))
                           .toHex(' ');
    const std::uint32_t written = Port_Write(length + 5);
    if (LastIoStatus != 0) {
        return LinkWriteFailed;
    }
    if (written != length + 5) {
        LastIoStatus = StatusShortTransfer;
        return LinkWriteFailed;
    }
    return LinkOk;
}

bool ReadExact(std::uint32_t count, const std::atomic<bool>& stopRequest) {
    const std::uint32_t start = Clock.NowMs();
    for (;;) {
        // Unsigned difference: a wrap of the tick count does no harm.
        if (Clock.NowMs() - start > ReplyWaitBudgetMs) {
            LastIoStatus = StatusReplyTimeout;
            return false;
        }
        Clock.SleepOneMs();
        LastIoStatus = std::int32_t(Port_GetQueueStatus());
        if (LastIoStatus != 0) {
            return false;
        }
        if (RxQueueBytes >= count) {
            break;
        }
        if (stopRequest.load(std::memory_order_acquire)) {
            return false;
        }
    }
    const std::uint32_t got = Port_Read(count);
    if (LastIoStatus != 0) {
        return false;
    }
    if (got != count) {
        LastIoStatus = StatusShortTransfer;
        return false;
    }
    return true;
}

std::uint32_t ReceiveReply(std::uint8_t& replyCode, std::uint8_t& errorByte,
                           const std::atomic<bool>& stopRequest) {
    replyCode = 0;
    if (!ReadExact(4, stopRequest)) {
        return LinkReadFailed;
    }
    if (!std::equal(FrameHeader.begin(), FrameHeader.end(), RxBuffer.begin())) {
        return LinkBadHeader;
    }
    replyCode = RxBuffer[3];
    if (replyCode >= 0x80) {
        errorByte = ReadExact(1, stopRequest) ? RxBuffer[0] : 0xFF;
        return LinkDeviceError;
    }
    // A code without a payload length cannot be framed: stop here rather than guess.
    if (replyCode == 0 || replyCode >= ReplyPayloadLength.size()) {
        return LinkBadTrailer;
    }
    const std::uint32_t length = ReplyPayloadLength[replyCode];
    if (!ReadExact(length + 1, stopRequest)) {
        return LinkReadFailed;
    }
    qCDebug(lcWire) << "reply" << replyCode
                    << QByteArray::fromRawData(reinterpret_cast<const char*>(RxBuffer.data()),
                                               qsizetype(length + 1))
                           .toHex(' ');
    return RxBuffer[length] == FrameTrailer ? LinkOk : LinkBadTrailer;
}
