// SPDX-License-Identifier: Apache-2.0
#include "link/UnitThread.h"

#include "link/D2XXUnit_mod.h"
#include "link/LinkLogging.h"
#include "link/LinkSleep.h"
#include "link/OpenPanel.h"
#include "link/ThreadHandOff.h"
#include "link/WireProtocol.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>

void TDeviceThread::Mailbox::Open() {
    std::lock_guard lock(mutex_);
    messages_.clear();
    open_ = true;
}

void TDeviceThread::Mailbox::Close() {
    std::deque<std::unique_ptr<LinkCommandMessage>> left;
    {
        std::lock_guard lock(mutex_);
        open_ = false;
        left.swap(messages_);
    }
}

bool TDeviceThread::Mailbox::Post(std::unique_ptr<LinkCommandMessage> message) {
    std::lock_guard lock(mutex_);
    if (open_) {
        messages_.push_back(std::move(message));
    }
    return open_;
}

std::unique_ptr<LinkCommandMessage> TDeviceThread::Mailbox::Take() {
    std::lock_guard lock(mutex_);
    if (messages_.empty()) {
        return nullptr;
    }
    auto message = std::move(messages_.front());
    messages_.pop_front();
    return message;
}

TDeviceThread::TDeviceThread(QObject* targetWindow) : TargetWindow(targetWindow) {}

TDeviceThread::~TDeviceThread() {
    Stop();
}

bool TDeviceThread::IsRunning() const {
    return !Finished.load(std::memory_order_acquire) && ThreadHandle.joinable();
}

void TDeviceThread::Start() {
    // A thread still starting has not cleared Finished yet: ask every joinable
    // thread to stop, or the join below would wait for a link that never ends.
    if (ThreadHandle.joinable()) {
        Stop();
    }
    StopRequest.store(false, std::memory_order_release);
    posted_ = 0;
    answered_.store(0, std::memory_order_release);
    ThreadHandle = std::thread([this] { LinkThreadMain(); });
}

void TDeviceThread::Stop() {
    StopRequest.store(true, std::memory_order_release);
    if (ThreadHandle.joinable()) {
        ThreadHandle.join();
    }
}

void TDeviceThread::Post(std::unique_ptr<LinkCommandMessage> message) {
    if (mailbox_.Post(std::move(message))) {
        ++posted_;
    }
}

bool TDeviceThread::AllPostedAnswered() const {
    return answered_.load(std::memory_order_acquire) == posted_;
}

void TDeviceThread::PostGpioOff() {
    if (IsRunning()) {
        Post(std::make_unique<LinkCommandMessage>(LinkCommandMessage{CmdGpioOff, {}}));
    }
}

void TDeviceThread::PostSetGpio(std::uint8_t channel, std::uint8_t state) {
    if (IsRunning()) {
        Post(
            std::make_unique<LinkCommandMessage>(LinkCommandMessage{CmdSetGpio, {channel, state}}));
    }
}

void TDeviceThread::PostWriteConfig(const ConfigBlock& block) {
    if (!IsRunning()) {
        return;
    }
    Post(std::make_unique<LinkCommandMessage>(
        LinkCommandMessage{CmdWriteConfig, std::vector<std::uint8_t>(block.begin(), block.end())}));
    Post(std::make_unique<LinkCommandMessage>(LinkCommandMessage{CmdReadConfig, {}}));
}

void TDeviceThread::LinkThreadMain() {
    const auto stopRequested = [this] { return StopRequest.load(std::memory_order_acquire); };

    WakeOnTime();
    mailbox_.Open();
    Finished.store(false, std::memory_order_release);
    qCDebug(lcLink) << "link thread started";

    const std::uint32_t waitStart = WireNowMs();
    while (!stopRequested() && WireNowMs() - waitStart < 500) {
        WireSleepOneMs();
    }

    std::uint8_t command = CmdReadConfig;
    std::array<std::uint8_t, 32768> payload{};
    StatusBlock previousStatus{};
    bool reportNext = true;
    std::uint8_t replyCode = 0;
    std::uint8_t errorByte = 0;
    std::uint32_t result = LinkOk;
    bool posted = false; // the command in hand came from the mailbox

    while (!stopRequested()) {
        const PanelExchange exchange = ExchangeWithPanel(command, payload.data(), StopRequest);
        result = exchange.result;
        replyCode = exchange.replyCode;
        errorByte = exchange.errorByte;
        // No reply code on success: stopped once the frame was out.
        if (result != LinkOk || replyCode == 0) {
            break;
        }
        if (posted) {
            answered_.fetch_add(1, std::memory_order_release);
        }
        if (replyCode == CmdReadConfig) {
            std::copy_n(RxBuffer.begin(), StatusBlockSize, previousStatus.begin());
            PostToTarget(new LinkReplyEvent(
                replyCode,
                std::vector<std::uint8_t>(RxBuffer.begin(), RxBuffer.begin() + ConfigReplySize)));
        } else if (reportNext ||
                   !std::equal(previousStatus.begin(), previousStatus.end(), RxBuffer.begin())) {
            std::copy_n(RxBuffer.begin(), StatusBlockSize, previousStatus.begin());
            PostToTarget(
                new LinkReplyEvent(replyCode, std::vector<std::uint8_t>(previousStatus.begin(),
                                                                        previousStatus.end())));
        }
        reportNext = false;

        auto message = mailbox_.Take();
        // Only the post operations fill the mailbox; a code they never use is not sent.
        posted = message && message->command < CommandPayloadLength.size() && message->command != 0;
        if (message && !posted) {
            answered_.fetch_add(1, std::memory_order_release); // dropped: nothing to wait for
        }
        if (posted) {
            command = message->command;
            if (!message->payload.empty()) {
                std::copy_n(
                    message->payload.begin(),
                    std::min<std::size_t>(CommandPayloadLength[command], message->payload.size()),
                    payload.begin());
            }
        } else {
            command = CmdPollStatus;
        }
        replyCode = 0;
        SleepOneMillisecond();
    }

    outcome_ = {stopRequested(), result, LastIoStatus, errorByte, command, replyCode};
    mailbox_.Close();
    qCDebug(lcLink) << "link thread ended: result" << result << "status" << LastIoStatus;
    Finished.store(true, std::memory_order_release);
    PostToTarget(new LinkEndedEvent());
}

void TDeviceThread::PostToTarget(QEvent* event) {
    HandOffRelease(event);
    QCoreApplication::postEvent(TargetWindow, event);
}
