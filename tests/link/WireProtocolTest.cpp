// SPDX-License-Identifier: Apache-2.0
#include "link/WireProtocol.h"
#include "link/LinkSleep.h"
#include "tests/support/PortFixture.h"
#include "tests/support/StepClock.h"

#include <chrono>
#include <future>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class WireProtocol : public OpenPortFixture {
protected:
    // One exchange; returns the result and fills code/error, the elapsed time and
    // the link's 1 ms steps it waited, counted from before the request: the
    // panel's delays start when it has it.
    std::uint32_t Exchange(std::uint8_t command, const std::uint8_t* payload = nullptr) {
        const auto start = Clock::now();
        const std::uint32_t firstStep = clock.Now();
        EXPECT_EQ(SendFrame(command, payload), LinkOk);
        const std::uint32_t result = ReceiveReply(replyCode, errorByte, stop);
        elapsed = Clock::now() - start;
        steps = clock.Now() - firstStep;
        return result;
    }

    StepClock clock;
    std::atomic<bool> stop{false};
    std::uint8_t replyCode = 0xEE;
    std::uint8_t errorByte = 0;
    Clock::duration elapsed{};
    std::uint32_t steps = 0;
};

TEST_F(WireProtocol, GoldenCommandFrames) {
    const std::uint8_t gpio[] = {5, 1};
    ConfigBlock block;
    LoadFactoryValues(block);
    Exchange(CmdPollStatus);
    Exchange(CmdSetGpio, gpio);
    Exchange(CmdWriteConfig, block.data());
    const auto frames = panel->ReceivedFrames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].bytes, (std::vector<std::uint8_t>{0xC7, 0xD0, 0xC9, 0x01, 0xC5}));
    EXPECT_EQ(frames[1].bytes, (std::vector<std::uint8_t>{0xC7, 0xD0, 0xC9, 0x02, 5, 1, 0xC5}));
    ASSERT_EQ(frames[2].bytes.size(), 409u);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), frames[2].bytes.begin() + 4));
    EXPECT_EQ(frames[2].bytes.back(), 0xC5);
}

TEST_F(WireProtocol, GoodRepliesLeaveThePayloadAtTheStartOfTheBuffer) {
    panel->SetGpi(3, true);
    EXPECT_EQ(Exchange(CmdPollStatus), LinkOk);
    EXPECT_EQ(replyCode, 1);
    EXPECT_EQ(RxBuffer[2], 0x02) << "GPI of channel 3";

    ConfigBlock block;
    LoadFactoryValues(block);
    block[ConfigMODE18] = 2;
    panel->SetConfiguration(block);
    EXPECT_EQ(Exchange(CmdReadConfig), LinkOk);
    EXPECT_EQ(replyCode, 3);
    EXPECT_EQ(RxBuffer[StatusBlockSize + ConfigMODE18], 2);
    EXPECT_EQ(LastIoStatus, 0);
}

TEST_F(WireProtocol, ErrorReplyWithItsErrorByte) {
    panel->SetFault({LineFault::ErrorReply, 7});
    EXPECT_EQ(Exchange(CmdPollStatus), LinkDeviceError);
    EXPECT_EQ(replyCode, 0x81);
    EXPECT_EQ(errorByte, 7);
    EXPECT_EQ(LastIoStatus, 0);
}

TEST_F(WireProtocol, ErrorReplyWithoutItsByteWaitsOutTheBudget) {
    panel->SetFault({LineFault::ErrorReplyWithoutByte, 7});
    EXPECT_EQ(Exchange(CmdPollStatus), LinkDeviceError);
    EXPECT_EQ(replyCode, 0x81);
    EXPECT_EQ(errorByte, 0xFF);
    EXPECT_EQ(LastIoStatus, StatusReplyTimeout);
    EXPECT_GE(steps, ReplyWaitBudgetMs);
    EXPECT_LE(steps, ReplyWaitBudgetMs + 5) << "the budget once, not twice";
}

TEST_F(WireProtocol, BadHeaderBadTrailerAndUnknownCode) {
    panel->SetFault({LineFault::BadHeader});
    EXPECT_EQ(Exchange(CmdPollStatus), LinkBadHeader);
    EXPECT_EQ(replyCode, 0);
    panel->SetFault({});
    PortShutDownSequence();
    ASSERT_TRUE(PortSetUpSequence(PanelLocation));

    panel->SetFault({LineFault::BadTrailer});
    EXPECT_EQ(Exchange(CmdPollStatus), LinkBadTrailer);
    EXPECT_EQ(replyCode, 1);

    panel->SetFault({LineFault::UnknownReplyCode});
    EXPECT_EQ(Exchange(CmdPollStatus), LinkBadTrailer);
    EXPECT_EQ(replyCode, 7) << "the message can name the code";
    EXPECT_LE(steps, 1u) << "fails at once, without waiting for a payload";
}

TEST_F(WireProtocol, PartialReplyTimesOutFromTheStartOfItsOwnRead) {
    panel->SetFault({LineFault::PartialReply});
    EXPECT_EQ(Exchange(CmdPollStatus), LinkReadFailed);
    EXPECT_EQ(LastIoStatus, StatusReplyTimeout);
    EXPECT_EQ(replyCode, 1) << "the header did arrive";
    EXPECT_GE(steps, ReplyWaitBudgetMs);
    EXPECT_LE(steps, ReplyWaitBudgetMs + 5) << "the budget once, not twice";
}

TEST_F(WireProtocol, ReplySplitInTwoHalvesIsAccepted) {
    panel->SetFault({LineFault::SplitReply, 0, 1500ms});
    EXPECT_EQ(Exchange(CmdPollStatus), LinkOk);
    EXPECT_EQ(replyCode, 1);
    EXPECT_GE(elapsed, 1500ms);
}

TEST_F(WireProtocol, StopRequestWhileWaitingEndsWithinMilliseconds) {
    panel->SetFault({LineFault::NoAnswer});
    ASSERT_EQ(SendFrame(CmdPollStatus, nullptr), LinkOk);
    auto stopper = std::async(std::launch::async, [this] {
        std::this_thread::sleep_for(100ms);
        const std::uint32_t stoppedAt = clock.Now();
        stop.store(true, std::memory_order_release);
        return stoppedAt;
    });
    const std::uint32_t result = ReceiveReply(replyCode, errorByte, stop);
    const std::uint32_t ended = clock.Now();
    const std::uint32_t stoppedAt = stopper.get();
    EXPECT_EQ(result, LinkReadFailed);
    EXPECT_EQ(LastIoStatus, 0);
    EXPECT_LE(ended - stoppedAt, 2u) << "within the steps it was asked in";
}

std::uint32_t FakeNow = 0;

TEST_F(WireProtocol, TheReplyBudgetCountsTheClocksMilliseconds) {
    SetWireClock({[] { return FakeNow; }, [] { ++FakeNow; }});
    panel->SetFault({LineFault::PartialReply});
    ASSERT_EQ(SendFrame(CmdPollStatus, nullptr), LinkOk);
    FakeNow = 0;
    EXPECT_EQ(ReceiveReply(replyCode, errorByte, stop), LinkReadFailed);
    EXPECT_EQ(LastIoStatus, StatusReplyTimeout);
    EXPECT_GE(FakeNow, ReplyWaitBudgetMs);
}

TEST_F(WireProtocol, CodesOutsideTheTableAreSentWithoutAPayload) {
    const std::uint8_t payload[4] = {9, 9, 9, 9};
    for (const std::uint8_t code : {std::uint8_t(0), std::uint8_t(7), std::uint8_t(0xFF)}) {
        TxBuffer.fill(0xEE);
        ASSERT_EQ(SendFrame(code, payload), LinkOk);
        EXPECT_EQ(std::vector<std::uint8_t>(TxBuffer.begin(), TxBuffer.begin() + 6),
                  (std::vector<std::uint8_t>{0xC7, 0xD0, 0xC9, code, 0xC5, 0xEE}));
        EXPECT_EQ(ReceiveReply(replyCode, errorByte, stop), LinkDeviceError) << "the panel refuses";
    }
}

TEST_F(WireProtocol, LibraryErrorsAndShortWrites) {
    VirtualBus::Instance().FailCall(ApiCall::Write, FT_IO_ERROR);
    EXPECT_EQ(SendFrame(CmdPollStatus, nullptr), LinkWriteFailed);
    EXPECT_EQ(LastIoStatus, 4);
    VirtualBus::Instance().ClearFailures();

    panel->SetFault({LineFault::ShortWrite});
    EXPECT_EQ(SendFrame(CmdPollStatus, nullptr), LinkWriteFailed);
    EXPECT_EQ(LastIoStatus, StatusShortTransfer);
    panel->SetFault({});

    ASSERT_EQ(SendFrame(CmdPollStatus, nullptr), LinkOk);
    VirtualBus::Instance().FailCall(ApiCall::GetQueueStatus, FT_IO_ERROR);
    EXPECT_EQ(ReceiveReply(replyCode, errorByte, stop), LinkReadFailed);
    EXPECT_EQ(LastIoStatus, 4);
    VirtualBus::Instance().ClearFailures();

    VirtualBus::Instance().FailCall(ApiCall::Read, FT_IO_ERROR);
    EXPECT_EQ(ReceiveReply(replyCode, errorByte, stop), LinkReadFailed);
    EXPECT_EQ(LastIoStatus, 4);
}

TEST_F(WireProtocol, UnplugWhileOpenFailsTheNextExchange) {
    VirtualBus::Instance().RemoveDevice(PanelLocation);
    EXPECT_EQ(SendFrame(CmdPollStatus, nullptr), LinkWriteFailed);
    EXPECT_EQ(LastIoStatus, 4);
}

// The sleeps ask for less as their wake-ups come late; they must not shrink
// below what the waits are for. Only a lower bound: a busy machine makes them
// longer, never shorter.
TEST(LinkSleep, ManySleepsStillTakeTheirMilliseconds) {
    WakeOnTime();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 200; ++i) {
        SleepOneMillisecond();
    }
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
}

} // namespace
