// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

// Framed request/reply protocol of the panel: C7 D0 C9 · code · payload · C5.
// Runs on the link thread only, on the port module's buffers.

inline constexpr std::array<std::uint8_t, 3> FrameHeader = {0xC7, 0xD0, 0xC9};
inline constexpr std::uint8_t FrameTrailer = 0xC5;

// Indexed by code 1..6; index 0 unused.
inline constexpr std::array<std::uint32_t, 7> CommandPayloadLength = {0, 0, 2, 0, 404, 25, 0};
inline constexpr std::array<std::uint32_t, 7> ReplyPayloadLength = {0, 19, 19, 423, 19, 19, 19};

enum CommandCode : std::uint8_t {
    CmdPollStatus = 1,
    CmdSetGpio = 2,
    CmdReadConfig = 3,
    CmdWriteConfig = 4,
    // One channel record of 25 bytes; the panel's documentation gives it no name
    // and this program never sends it (the virtual panel stores the record).
    CmdChannelRecord = 5,
    CmdGpioOff = 6,
};

enum LinkResultCode : std::uint32_t {
    LinkOk = 0,
    LinkWriteFailed = 1,
    LinkReadFailed = 2,
    LinkBadHeader = 3,
    LinkDeviceError = 4,
    LinkBadTrailer = 5,
};

// Values of LastIoStatus besides the library's own.
inline constexpr std::int32_t StatusShortTransfer = 31;
inline constexpr std::int32_t StatusReplyTimeout = 32;

inline constexpr std::uint32_t ReplyWaitBudgetMs = 2000;

// How the reply wait tells time and takes its 1 ms steps. The steady clock and
// real sleeps unless replaced (fuzzing runs two thousand steps in no time).
struct WireClock {
    std::uint32_t (*NowMs)() = nullptr;
    void (*SleepOneMs)() = nullptr;
};
void SetWireClock(const WireClock& clock);
void UseRealWireClock();
// The clock in use, for the link thread's own waits.
std::uint32_t WireNowMs();
void WireSleepOneMs();

// Builds the frame for `code` (1..6) in TxBuffer and writes it.
std::uint32_t SendFrame(std::uint8_t code, const std::uint8_t* payload);
// Waits (1 ms grid, 2000 ms budget) until n bytes are queued, then reads them into RxBuffer.
bool ReadExact(std::uint32_t count, const std::atomic<bool>& stopRequest);
// Reads one reply; on LinkOk, RxBuffer starts with the payload of `replyCode`.
std::uint32_t ReceiveReply(std::uint8_t& replyCode, std::uint8_t& errorByte,
                           const std::atomic<bool>& stopRequest);
