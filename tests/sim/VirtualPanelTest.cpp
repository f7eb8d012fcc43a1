// SPDX-License-Identifier: Apache-2.0
#include "sim/VirtualPanel.h"
#include "link/WireProtocol.h"
#include "model/RegularFile.h"
#include "sim/PanelFirmware.h"
#include "sim/VirtualBus.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = PanelFirmware::Clock;

std::uint8_t GpioState(PanelFirmware& firmware, int channel, Clock::time_point now) {
    return firmware.Status(now)[StatusStateOffset(channel)];
}

TEST(PanelFirmware, GpioFollowsTheChannelMode) {
    PanelFirmware firmware;
    ConfigBlock block = firmware.Configuration();
    block[RecordOffset(2) + RecordMODE] = ModeFixed;
    block[RecordOffset(3) + RecordMODE] = ModePulse;
    block[RecordOffset(3) + RecordDURATION] = 5;
    firmware.SetConfiguration(block);
    const auto t0 = Clock::now();
    const std::uint8_t press1[] = {1, 1}, release1[] = {1, 0};
    const std::uint8_t press2[] = {2, 1}, release2[] = {2, 0};
    const std::uint8_t press3[] = {3, 1}, release3[] = {3, 0};

    firmware.HandleCommand(CmdSetGpio, press1, t0);
    EXPECT_EQ(GpioState(firmware, 1, t0), 1) << "Free: active while pressed";
    firmware.HandleCommand(CmdSetGpio, release1, t0);
    EXPECT_EQ(GpioState(firmware, 1, t0), 0);

    firmware.HandleCommand(CmdSetGpio, press2, t0);
    firmware.HandleCommand(CmdSetGpio, release2, t0);
    EXPECT_EQ(GpioState(firmware, 2, t0), 1) << "Fixed: toggles on press";
    firmware.HandleCommand(CmdSetGpio, press2, t0);
    EXPECT_EQ(GpioState(firmware, 2, t0), 0);

    firmware.HandleCommand(CmdSetGpio, press3, t0);
    firmware.HandleCommand(CmdSetGpio, release3, t0);
    EXPECT_EQ(GpioState(firmware, 3, t0 + 499ms), 1) << "Pulse: DURATION tenths";
    EXPECT_EQ(GpioState(firmware, 3, t0 + 500ms), 0);

    firmware.SetGpi(3, true);
    EXPECT_EQ(GpioState(firmware, 3, t0 + 100ms), 3);
    firmware.HandleCommand(CmdGpioOff, nullptr, t0);
    EXPECT_EQ(GpioState(firmware, 2, t0), 0);
    EXPECT_EQ(GpioState(firmware, 3, t0 + 100ms), 2) << "command 6 leaves the inputs";
}

TEST(PanelFirmware, RepliesCarryTheCommandCodeAndUnknownCodesAnError) {
    PanelFirmware firmware;
    firmware.SetKeyState(2, 1);
    firmware.SetLockState(0x80);
    const auto poll = firmware.HandleCommand(CmdPollStatus, nullptr, Clock::now());
    ASSERT_EQ(poll.size(), 24u);
    EXPECT_EQ(poll[3], 1);
    EXPECT_EQ(poll[4 + StatusSTATE18], 1);
    EXPECT_EQ(poll[4 + StatusLOCKSTATE], 0x80);
    EXPECT_EQ(poll.back(), FrameTrailer);

    const auto config = firmware.HandleCommand(CmdReadConfig, nullptr, Clock::now());
    ASSERT_EQ(config.size(), 428u);
    EXPECT_EQ(config[4 + StatusBlockSize + RecordOffset(16)], 16);

    const auto unknown = firmware.HandleCommand(9, nullptr, Clock::now());
    EXPECT_EQ(unknown, (std::vector<std::uint8_t>{0xC7, 0xD0, 0xC9, 0x89, 0x01}));
}

TEST(VirtualLine, RepliesArriveAtTheLineRate) {
    VirtualPanel panel;
    panel.SetLineTiming(LineModel::BaudRate, 2ms);
    const std::uint8_t poll[] = {0xC7, 0xD0, 0xC9, 0x01, 0xC5};
    const auto start = Clock::now();
    ASSERT_EQ(panel.Write(poll, 5), 5u);
    EXPECT_EQ(panel.QueuedBytes(), 0u);
    std::uint8_t reply[24];
    EXPECT_EQ(panel.Read(reply, 24, 100ms), 24u);
    // 5 bytes out, 2 ms latency, 24 bytes back at 86.8 us each.
    EXPECT_GE(Clock::now() - start, 4500us);
    EXPECT_EQ(reply[3], 1);
}

// Steps the line's own timeline from `start` in 0.1 ms until `total` bytes are
// readable: the counts seen, and when the first and the last bytes became
// readable. No waiting: a loaded machine changes nothing of what it sees.
struct Arrival {
    std::vector<std::uint32_t> counts;
    Clock::duration firstAfter{};
    Clock::duration allAfter{};
};

constexpr auto Step = 100us;

Arrival WatchArrival(VirtualPanel& panel, std::uint32_t total, Clock::time_point start) {
    Arrival arrival;
    std::uint32_t last = 0;
    for (auto at = start; last < total && at - start < 500ms; at += Step) {
        const std::uint32_t now = panel.QueuedBytesAt(at);
        if (now != last) {
            if (last == 0) {
                arrival.firstAfter = at - start;
            }
            arrival.counts.push_back(now);
            last = now;
        }
        arrival.allAfter = at - start;
    }
    return arrival;
}

TEST(VirtualLine, TheChipHoldsASmallReplyForItsLatencyTimer) {
    VirtualPanel panel;
    panel.SetLineTiming(LineModel::Chip);
    EXPECT_EQ(panel.LatencyTimer(), 16) << "the chip's default";
    const std::uint8_t poll[] = {0xC7, 0xD0, 0xC9, 0x01, 0xC5};
    const auto start = Clock::now();
    ASSERT_TRUE(panel.SetLatencyTimer(16, start)); // as a chip just started
    ASSERT_EQ(panel.Write(poll, 5, start), 5u);
    const Arrival arrival = WatchArrival(panel, 24, start);
    EXPECT_EQ(arrival.counts, (std::vector<std::uint32_t>{24})) << "all 24 bytes at once";
    // A chip that has just started sends nothing before its timer has run once.
    EXPECT_GE(arrival.firstAfter, 16ms);
    EXPECT_LT(arrival.firstAfter, 16ms + Step);

    std::uint8_t reply[24];
    ASSERT_EQ(panel.Read(reply, 24, 0ms), 24u);

    // The timer restarts when the chip sends a packet and runs out every
    // period after it: a reply that is in late in a period goes at its end,
    // not a whole period after its first byte.
    const auto sentAt = start + arrival.firstAfter;
    const auto late = sentAt + 9ms;
    panel.Write(poll, 5, late);
    const Arrival lateArrival = WatchArrival(panel, 24, late);
    const auto replyIn = late - sentAt + 29 * VirtualPanel::ByteTime; // from the packet sent
    const auto periodEnd = sentAt + 16ms * ((replyIn + 16ms - 1ns) / 16ms);
    EXPECT_GE(late + lateArrival.firstAfter, periodEnd);
    EXPECT_LT(late + lateArrival.firstAfter, periodEnd + Step);
    ASSERT_EQ(panel.Read(reply, 24, 0ms), 24u);

    const auto again = late + lateArrival.allAfter + 1ms;
    EXPECT_FALSE(panel.SetLatencyTimer(0, again));
    ASSERT_TRUE(panel.SetLatencyTimer(1, again));
    panel.Write(poll, 5, again);
    const Arrival fast = WatchArrival(panel, 24, again);
    EXPECT_GE(fast.firstAfter, 6 * VirtualPanel::ByteTime) << "the first byte is in";
    EXPECT_LT(fast.firstAfter, 29 * VirtualPanel::ByteTime + 1ms + Step)
        << "within a period of the last";
}

TEST(VirtualLine, FullPacketsGoAtOnceAndTheRestWaitsForTheTimer) {
    VirtualPanel panel;
    panel.SetLineTiming(LineModel::Chip);
    const std::uint8_t read[] = {0xC7, 0xD0, 0xC9, 0x03, 0xC5};
    const auto start = Clock::now();
    ASSERT_TRUE(panel.SetLatencyTimer(16, start));
    ASSERT_EQ(panel.Write(read, 5, start), 5u);
    const Arrival arrival = WatchArrival(panel, 428, start);
    ASSERT_FALSE(arrival.counts.empty());
    EXPECT_EQ(arrival.counts.front(), 62u) << "62 bytes do not wait for the timer";
    for (std::size_t i = 0; i + 1 < arrival.counts.size(); ++i) {
        EXPECT_EQ(arrival.counts[i] % 62, 0u) << "whole packets while the line delivers";
    }
    EXPECT_EQ(arrival.counts.back(), 428u);
    // The line needs 433 byte times (37.6 ms); the last 56 bytes then wait for the
    // timer, which restarted when the last full packet went.
    const auto lastFullPacket = (5 + 6 * 62) * VirtualPanel::ByteTime;
    EXPECT_GE(arrival.allAfter, lastFullPacket + 16ms);
    EXPECT_LT(arrival.allAfter, lastFullPacket + 16ms + Step);
}

TEST(VirtualLine, BrokenFramesAndPurges) {
    VirtualPanel panel;
    const std::uint8_t badTrailer[] = {0xC7, 0xD0, 0xC9, 0x01, 0x00};
    panel.Write(badTrailer, 5);
    std::uint8_t reply[5];
    ASSERT_EQ(panel.Read(reply, 5, 0ms), 5u);
    EXPECT_EQ(reply[3], 0x81);

    const std::uint8_t noise[] = {0x00, 0xC7, 0xC7, 0xD0, 0xC9, 0x01, 0xC5};
    panel.Write(noise, 7);
    EXPECT_EQ(panel.QueuedBytes(), 24u) << "the parser finds the header after noise";
    panel.PurgeReceive();
    EXPECT_EQ(panel.QueuedBytes(), 0u);
    EXPECT_EQ(panel.ReceivedFrameCount(), 2u);
}

// A command frame as the host sends it.
std::vector<std::uint8_t> Frame(std::uint8_t code, const std::uint8_t* payload,
                                std::size_t length) {
    std::vector<std::uint8_t> frame(FrameHeader.begin(), FrameHeader.end());
    frame.push_back(code);
    frame.insert(frame.end(), payload, payload + length);
    frame.push_back(FrameTrailer);
    return frame;
}

// With a store, a virtual panel keeps what it was sent between runs as a real
// one does: the next panel on that file starts with it. A store that cannot be
// read or written leaves the panel working.
TEST(VirtualPanelStore, APanelStartsWithWhatItStoredLastRun) {
    const QTemporaryDir folder;
    const std::filesystem::path file = FilePath(folder.filePath("QV1.FFFF.bin"));
    ConfigBlock factory;
    LoadFactoryValues(factory);
    ConfigBlock sent = factory;
    sent[RecordOffset(2) + RecordMODE] = ModeFixed;
    {
        VirtualPanel first;
        first.SetConfiguration(factory);
        KeepStoredConfiguration(first, file);
        EXPECT_EQ(first.Configuration(), factory) << "no store yet: as it was";
        const auto frame = Frame(CmdWriteConfig, sent.data(), sent.size());
        ASSERT_EQ(first.Write(frame.data(), std::uint32_t(frame.size())), frame.size());
        std::array<std::uint8_t, ChannelRecordSize> record{};
        std::copy_n(sent.begin() + RecordOffset(5), ChannelRecordSize, record.begin());
        record[RecordGROUP] = 4;
        const auto recordFrame = Frame(CmdChannelRecord, record.data(), record.size());
        ASSERT_EQ(first.Write(recordFrame.data(), std::uint32_t(recordFrame.size())),
                  recordFrame.size());
        sent[RecordOffset(5) + RecordGROUP] = 4;
    }
    VirtualPanel next;
    KeepStoredConfiguration(next, file);
    EXPECT_EQ(next.Configuration(), sent);

    QFile cut(folder.filePath("QV1.FFFF.bin"));
    ASSERT_TRUE(cut.resize(100));
    VirtualPanel afterDamage;
    afterDamage.SetConfiguration(factory);
    KeepStoredConfiguration(afterDamage, file);
    EXPECT_EQ(afterDamage.Configuration(), factory);

    VirtualPanel nowhere;
    KeepStoredConfiguration(nowhere, FilePath(folder.filePath("no/such/folder/QV1.bin")));
    const auto frame = Frame(CmdWriteConfig, sent.data(), sent.size());
    ASSERT_EQ(nowhere.Write(frame.data(), std::uint32_t(frame.size())), frame.size());
    EXPECT_EQ(nowhere.Configuration(), sent);
}

} // namespace
