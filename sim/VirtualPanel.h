// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "sim/PanelFirmware.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

// Ways the virtual panel can misbehave, for the link's failure paths.
enum class LineFault {
    None,
    NoAnswer,              // frames are taken but never answered
    ErrorReply,            // C7 D0 C9 (code|0x80) errorByte
    ErrorReplyWithoutByte, // the error reply stops after its code
    BadHeader,             // the reply starts C7 D0 C8
    BadTrailer,            // the reply's last byte is not C5
    PartialReply,          // only the first half of the reply is sent
    SplitReply,            // the second half follows after splitDelay
    ShortWrite,            // the library accepts one byte less than asked
    UnknownReplyCode,      // the reply carries code 7
};

struct LineFaultSettings {
    LineFault kind = LineFault::None;
    std::uint8_t errorByte = 7;
    std::chrono::milliseconds splitDelay{0};
};

// How reply bytes reach the host.
enum class LineModel {
    Instant,  // readable at once, for fast tests
    BaudRate, // at the line rate of 115200 baud 8N1
    Chip,     // at the line rate, then held by the FT232R until a 62-byte packet
              // is full, its event character arrives or its latency timer runs
              // out (whole periods after the last packet it sent with data)
};

// One panel behind its FT232R: the serial line, the chip's latency timer, the
// firmware, fault injection and a log of the frames the panel received.
// Safe to use from the link thread and a test thread at once.
class VirtualPanel {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr std::uint32_t PacketPayload = 62; // 64-byte packets less 2 status bytes
    static constexpr std::uint8_t DefaultLatencyTimerMs = 16;

    struct ReceivedFrame {
        std::vector<std::uint8_t> bytes;
        Clock::time_point arrivedAt;
    };

    // Time the line needs for one byte: 10 bits at 115200 baud.
    static constexpr std::chrono::nanoseconds ByteTime{86806};

    // Instant lines (the default) make replies readable at once, for fast tests.
    // `latency` is the panel's own time before it starts to answer.
    void SetLineTiming(LineModel model, std::chrono::microseconds latency = {});
    // The chip's latency timer, 1..255 ms, started afresh; false otherwise.
    bool SetLatencyTimer(std::uint8_t milliseconds);
    bool SetLatencyTimer(std::uint8_t milliseconds, Clock::time_point at);
    std::uint8_t LatencyTimer();
    // The chip's event character: held bytes go to the host as soon as it is
    // among them, without waiting for the latency timer.
    void SetEventCharacter(std::uint8_t character, bool enabled);
    void SetFault(const LineFaultSettings& fault);

    // Host side of the line, called through the FTDI API table.
    std::uint32_t Write(const std::uint8_t* bytes, std::uint32_t count);
    std::uint32_t QueuedBytes();
    // The same at a given moment, for a test that runs the line on a timeline of
    // its own; moments given must not go back.
    std::uint32_t Write(const std::uint8_t* bytes, std::uint32_t count, Clock::time_point at);
    std::uint32_t QueuedBytesAt(Clock::time_point at);
    std::uint32_t Read(std::uint8_t* bytes, std::uint32_t count, std::chrono::milliseconds timeout);
    void PurgeReceive();
    void PurgeTransmit();

    // Panel side, for tests and the simulator.
    // The panel's own key of a channel, pressed or released by its user: the
    // GPIO output follows the channel's mode as for a press sent by the program.
    void PressKey(int channel, bool pressed);
    void SetGpi(int channel, bool active);
    void SetGpioOutput(int channel, bool active);
    void SetKeyState(int key, std::uint8_t state);
    void SetLockState(std::uint8_t state);
    void SetConfiguration(const ConfigBlock& block);
    // A panel that stores something else than it was sent: `alter` changes every
    // written configuration before it is stored.
    void SetStorageFault(std::function<void(ConfigBlock&)> alter);
    // Called with the stored configuration after each write of it (the whole
    // block or a channel's record), as a real panel keeps it in its memory.
    void SetStorageKeeper(std::function<void(const ConfigBlock&)> keep);
    ConfigBlock Configuration();
    StatusBlock Status();

    std::vector<ReceivedFrame> ReceivedFrames();
    std::size_t ReceivedFrameCount();
    void ClearReceivedFrames();
    // The frames received so far, leaving none: no frame that arrives meanwhile
    // is lost between a look and a clear.
    std::vector<ReceivedFrame> TakeReceivedFrames();

private:
    void TakeByte(std::uint8_t byte, Clock::time_point arrivedAt);
    void Answer(std::vector<std::uint8_t> reply, Clock::time_point requestEnd);
    // Bytes the host can read now; moves held bytes to the host as the chip would.
    std::uint32_t AvailableLocked(Clock::time_point now);

    struct PendingByte {
        std::uint8_t value;
        Clock::time_point readableAt;
    };

    std::mutex mutex_;
    PanelFirmware firmware_;
    LineModel model_ = LineModel::Instant;
    std::chrono::milliseconds latencyTimer_{DefaultLatencyTimerMs};
    Clock::time_point timerStartedAt_ = Clock::now(); // at the chip's last packet with data
    std::optional<std::uint8_t> eventCharacter_;
    std::size_t delivered_ = 0; // front bytes of outgoing_ the chip has passed to the host
    std::chrono::microseconds latency_{0};
    LineFaultSettings fault_;
    std::function<void(ConfigBlock&)> storageFault_;
    std::function<void(const ConfigBlock&)> storageKeeper_;
    std::vector<std::uint8_t> incoming_;
    std::deque<PendingByte> outgoing_;
    Clock::time_point lineFreeAt_{};
    std::vector<ReceivedFrame> received_;
};
