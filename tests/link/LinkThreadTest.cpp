// SPDX-License-Identifier: Apache-2.0
#include "link/ThreadHandOff.h"
#include "link/UnitThread.h"
#include "link/WireProtocol.h"
#include "tests/support/LinkReceiver.h"
#include "tests/support/PortFixture.h"
#include "tests/support/StepClock.h"

#include <QCoreApplication>

#include <chrono>
#include <future>
#include <random>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

void Settle(std::chrono::milliseconds time) {
    WaitFor([] { return false; }, time);
}

std::vector<std::uint8_t> Codes(const std::vector<VirtualPanel::ReceivedFrame>& frames) {
    std::vector<std::uint8_t> codes;
    for (const auto& frame : frames) {
        codes.push_back(frame.bytes[3]);
    }
    return codes;
}

class LinkThread : public OpenPortFixture {
protected:
    void TearDown() override {
        thread.Stop();
        OpenPortFixture::TearDown();
    }
    void StartAndWaitForConfiguration() {
        thread.Start();
        ASSERT_TRUE(WaitFor([&] { return !receiver.replies.empty(); }));
        ASSERT_EQ(receiver.replies[0], 3);
    }

    // Before the thread, which reads it, and gone after it.
    StepClock clock;
    LinkReceiver receiver;
    TDeviceThread thread{&receiver};
};

TEST_F(LinkThread, ReportsTheConfigurationOnceThenOnlyChanges) {
    StartAndWaitForConfiguration();
    EXPECT_EQ(receiver.payloadSizes[0], ConfigReplySize);
    Settle(300ms);
    EXPECT_EQ(receiver.replies.size(), 1u) << "an idle panel produces no messages";
    EXPECT_GT(panel->ReceivedFrameCount(), 20u) << "but is polled all the time";

    panel->SetGpi(4, true);
    ASSERT_TRUE(WaitFor([&] { return receiver.replies.size() == 2; }));
    Settle(100ms);
    EXPECT_EQ(receiver.replies, (std::vector<int>{3, 1}));
    EXPECT_EQ(receiver.payloadSizes[1], StatusBlockSize);
}

TEST_F(LinkThread, WriteConfigIsFollowedByReadBackInTheNextCycle) {
    StartAndWaitForConfiguration();
    panel->ClearReceivedFrames();
    ConfigBlock block = panel->Configuration();
    thread.PostWriteConfig(block);
    ASSERT_TRUE(WaitFor([&] { return receiver.replies.size() == 2; }));
    EXPECT_EQ(receiver.replies[1], 3) << "reported even though nothing changed";
    auto codes = Codes(panel->ReceivedFrames());
    auto write = std::find(codes.begin(), codes.end(), CmdWriteConfig);
    ASSERT_NE(write, codes.end());
    ASSERT_NE(write + 1, codes.end());
    EXPECT_EQ(*(write + 1), CmdReadConfig);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), CmdWriteConfig), 1);
}

TEST_F(LinkThread, CommandsGoOutInPostingOrderOnePerCycle) {
    StartAndWaitForConfiguration();
    panel->ClearReceivedFrames();
    thread.PostSetGpio(5, 1);
    thread.PostSetGpio(5, 0);
    thread.PostGpioOff();
    ASSERT_TRUE(WaitFor([&] {
        auto codes = Codes(panel->ReceivedFrames());
        return std::count(codes.begin(), codes.end(), CmdGpioOff) == 1;
    }));
    const auto frames = panel->ReceivedFrames();
    std::vector<std::vector<std::uint8_t>> commands;
    for (const auto& frame : frames) {
        if (frame.bytes[3] != CmdPollStatus) {
            commands.push_back(frame.bytes);
        }
    }
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0], (std::vector<std::uint8_t>{0xC7, 0xD0, 0xC9, 2, 5, 1, 0xC5}));
    EXPECT_EQ(commands[1], (std::vector<std::uint8_t>{0xC7, 0xD0, 0xC9, 2, 5, 0, 0xC5}));
    EXPECT_EQ(commands[2], (std::vector<std::uint8_t>{0xC7, 0xD0, 0xC9, 6, 0xC5}));
}

TEST_F(LinkThread, PostsAreDroppedWhenTheThreadIsNotRunning) {
    thread.PostSetGpio(1, 1);
    thread.PostGpioOff();
    thread.PostWriteConfig(ConfigBlock{});
    EXPECT_FALSE(thread.IsRunning());

    panel->SetFault({LineFault::BadHeader});
    thread.Start();
    ASSERT_TRUE(WaitFor([&] { return receiver.ended == 1; }));
    const std::size_t sent = panel->ReceivedFrameCount();
    thread.PostSetGpio(1, 1);
    Settle(50ms);
    EXPECT_EQ(panel->ReceivedFrameCount(), sent);
    EXPECT_EQ(thread.Outcome().LinkResult, LinkBadHeader);
}

TEST_F(LinkThread, StopWhileAReplyIsAwaited) {
    panel->SetFault({LineFault::NoAnswer});
    thread.Start();
    ASSERT_TRUE(WaitFor([&] { return panel->ReceivedFrameCount() == 1; }));
    Settle(20ms);
    const std::uint32_t start = clock.Now();
    thread.Stop();
    EXPECT_LE(clock.Now() - start, 2u) << "within the steps it was asked in";
    EXPECT_TRUE(thread.Outcome().StoppedOnRequest);
    EXPECT_EQ(thread.Outcome().LinkResult, LinkReadFailed);
    EXPECT_EQ(thread.Outcome().IoStatus, 0);
    EXPECT_EQ(thread.Outcome().LastCommand, CmdReadConfig);
    EXPECT_EQ(thread.Outcome().LastReply, 0);
    EXPECT_TRUE(WaitFor([&] { return receiver.ended == 1; }));
}

TEST_F(LinkThread, StopDuringTheStartWaitSendsNothing) {
    thread.Start();
    std::this_thread::sleep_for(50ms);
    const std::uint32_t start = clock.Now();
    thread.Stop();
    EXPECT_LE(clock.Now() - start, 2u) << "within the steps it was asked in";
    EXPECT_EQ(panel->ReceivedFrameCount(), 0u);
    EXPECT_TRUE(thread.Outcome().StoppedOnRequest);
    EXPECT_EQ(thread.Outcome().LinkResult, LinkOk);
    EXPECT_EQ(thread.Outcome().LastCommand, CmdReadConfig);
    EXPECT_EQ(thread.Outcome().LastReply, 0);
    EXPECT_TRUE(WaitFor([&] { return receiver.ended == 1; }));
    EXPECT_FALSE(thread.IsRunning());
}

TEST_F(LinkThread, StartWhileTheThreadIsStillStartingRestartsIt) {
    // The first thread may not have opened its mailbox yet; Start must still stop it.
    auto restarted = std::async(std::launch::async, [this] {
        thread.Start();
        thread.Start();
        return true;
    });
    ASSERT_EQ(restarted.wait_for(3s), std::future_status::ready) << "Start hung";
    ASSERT_TRUE(WaitFor([&] { return receiver.replies.size() >= 1; }));
    thread.Stop();
    EXPECT_TRUE(WaitFor([&] { return receiver.ended == 2; }));
}

// A functional check of the setting; the figures belong to the benchmark. It
// counts the link's 1 ms steps a reply waits, which a loaded machine stretches
// for every setting alike.
TEST_F(LinkThread, TheLatencyTimerAndTheEventCharacterEachShortenTheWaitForAReply) {
    panel->SetLineTiming(LineModel::Chip);
    const auto stepsPerPoll = [&](std::uint8_t latencyMs, bool eventCharacter) {
        EXPECT_EQ(Port_SetLatencyTimer(latencyMs), FT_OK);
        EXPECT_EQ(Port_SetEventCharacter(PortEventCharacter, eventCharacter), FT_OK);
        StartAndWaitForConfiguration();
        const std::size_t before = panel->ReceivedFrameCount();
        const std::uint32_t start = clock.Now();
        Settle(1500ms);
        const double steps = double(clock.Now() - start) /
                             double(std::max<std::size_t>(1, panel->ReceivedFrameCount() - before));
        thread.Stop();
        // As between two openings: what the stopped link left behind is dropped.
        Settle(50ms);
        Port_PurgeRx();
        Port_PurgeTx();
        receiver.replies.clear();
        return steps;
    };
    const double chipDefault = stepsPerPoll(16, false);
    const double shortTimer = stepsPerPoll(PortLatencyTimerMs, false);
    const double eventCharacter = stepsPerPoll(16, true);
    EXPECT_GE(chipDefault, 2.0 * shortTimer) << chipDefault << " against " << shortTimer;
    // The reply goes at its trailer, whatever the timer.
    EXPECT_GE(chipDefault, 2.0 * eventCharacter) << chipDefault << " against " << eventCharacter;
}

TEST_F(LinkThread, AReplyHandedOverInPiecesAtEveryTrailerByteIsReadWhole) {
    // Durations of 0xC5 within the block: the chip hands the reply over early,
    // piece by piece, each time such a byte arrives.
    ConfigBlock block = panel->Configuration();
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        block[RecordOffset(channel) + RecordDURATION] = PortEventCharacter;
    }
    panel->SetConfiguration(block);
    panel->SetLineTiming(LineModel::Chip);
    StartAndWaitForConfiguration();
    ASSERT_EQ(receiver.payloads[0].size(), ConfigReplySize);
    EXPECT_TRUE(
        std::equal(block.begin(), block.end(), receiver.payloads[0].begin() + StatusBlockSize));
    thread.Stop();
    EXPECT_EQ(thread.Outcome().LinkResult, LinkOk);
}

TEST_F(LinkThread, StopOnAnEndedThreadReturnsAtOnce) {
    panel->SetFault({LineFault::BadTrailer});
    thread.Start();
    ASSERT_TRUE(WaitFor([&] { return receiver.ended == 1; }));
    EXPECT_FALSE(thread.IsRunning());
    thread.Stop();
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_FALSE(thread.Outcome().StoppedOnRequest);
    EXPECT_EQ(thread.Outcome().LinkResult, LinkBadTrailer);
    EXPECT_EQ(thread.Outcome().LastReply, 3);
}

TEST_F(LinkThread, PanelThatStopsAnsweringEndsTheLinkAfterTheBudget) {
    StartAndWaitForConfiguration();
    const std::uint32_t start = clock.Now();
    panel->SetFault({LineFault::NoAnswer});
    ASSERT_TRUE(WaitFor([&] { return receiver.ended == 1; }, 30s));
    // The poll in hand may still be answered, within the chip's 16 ms timer.
    EXPECT_GE(clock.Now() - start, ReplyWaitBudgetMs);
    EXPECT_LE(clock.Now() - start, ReplyWaitBudgetMs + 20);
    EXPECT_FALSE(thread.Outcome().StoppedOnRequest);
    EXPECT_EQ(thread.Outcome().LinkResult, LinkReadFailed);
    EXPECT_EQ(thread.Outcome().IoStatus, StatusReplyTimeout);
    EXPECT_EQ(thread.Outcome().LastReply, 0);
    EXPECT_EQ(thread.Outcome().LastCommand, CmdPollStatus);
}

TEST_F(LinkThread, ErrorReplyEndsTheLinkWithTheErrorByte) {
    panel->SetFault({LineFault::ErrorReply, 0x2A});
    thread.Start();
    ASSERT_TRUE(WaitFor([&] { return receiver.ended == 1; }));
    EXPECT_TRUE(receiver.replies.empty()) << "a panel that sends an error is never shown";
    EXPECT_EQ(thread.Outcome().LinkResult, LinkDeviceError);
    EXPECT_EQ(thread.Outcome().ErrorByte, 0x2A);
    EXPECT_EQ(thread.Outcome().LastReply, 0x83);
    EXPECT_EQ(thread.Outcome().IoStatus, 0);
}

TEST_F(LinkThread, LibraryFailuresAndUnplug) {
    struct Case {
        const char* name;
        std::function<void()> inject;
        std::uint32_t result;
        std::int32_t status;
    };
    const Case cases[] = {
        {"write error", [] { VirtualBus::Instance().FailCall(ApiCall::Write, 10); },
         LinkWriteFailed, 10},
        {"read error", [] { VirtualBus::Instance().FailCall(ApiCall::Read, FT_IO_ERROR); },
         LinkReadFailed, 4},
        {"queue error",
         [] { VirtualBus::Instance().FailCall(ApiCall::GetQueueStatus, FT_IO_ERROR); },
         LinkReadFailed, 4},
        {"unplug", [] { VirtualBus::Instance().RemoveDevice(PanelLocation); }, 0, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        receiver.replies.clear();
        receiver.ended = 0;
        StartAndWaitForConfiguration();
        c.inject();
        ASSERT_TRUE(WaitFor([&] { return receiver.ended == 1; }));
        EXPECT_FALSE(thread.Outcome().StoppedOnRequest);
        if (c.result != 0) {
            EXPECT_EQ(thread.Outcome().LinkResult, c.result);
        } else { // an unplug shows on whichever call comes next
            EXPECT_TRUE(thread.Outcome().LinkResult == LinkWriteFailed ||
                        thread.Outcome().LinkResult == LinkReadFailed);
        }
        EXPECT_EQ(thread.Outcome().IoStatus, c.status);
        thread.Stop();
        VirtualBus::Instance().ClearFailures();
        // As the device list does between two openings: drops what is left on the line.
        PortShutDownSequence();
        PortSetUpSequence(PanelLocation);
    }
}

// Start and stop at random moments: during the start wait, in the middle of an
// exchange, between cycles. Nothing may hang, leak or lose its MsgLinkEnded.
TEST_F(LinkThread, StartStopStress) {
    panel->SetLineTiming(LineModel::BaudRate, 300us);
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> startWait(0, 3000);
    std::uniform_int_distribution<int> running(500000, 515000);
    std::bernoulli_distribution early(0.5);
    constexpr int Cycles = 300;
    for (int cycle = 0; cycle < Cycles; ++cycle) {
        thread.Start();
        if (cycle % 7 == 0) {
            thread.PostSetGpio(1, std::uint8_t(cycle & 1));
            thread.PostWriteConfig(panel->Configuration());
        }
        const int micros = early(random) ? startWait(random) : running(random);
        std::this_thread::sleep_for(std::chrono::microseconds(micros));
        const std::uint32_t start = clock.Now();
        thread.Stop();
        // Within the steps it was asked in (bench_link_polling reports the usual
        // stop time).
        ASSERT_LE(clock.Now() - start, 2u) << "cycle " << cycle;
        ASSERT_TRUE(thread.Outcome().StoppedOnRequest) << "cycle " << cycle;
        PortShutDownSequence();
        ASSERT_TRUE(PortSetUpSequence(PanelLocation));
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(WaitFor([&] { return receiver.ended == Cycles; }));
}

} // namespace
