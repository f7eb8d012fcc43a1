// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/LinkMessages.h"
#include "model/DeviceBlocks.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

// How the link ended: final once MsgLinkEnded has arrived or Stop has returned.
struct TLinkOutcome {
    bool StoppedOnRequest = false;
    std::uint32_t LinkResult = 0;
    std::int32_t IoStatus = 0;
    std::uint8_t ErrorByte = 0;
    std::uint8_t LastCommand = 0;
    std::uint8_t LastReply = 0;
};

// The device link thread: owns the line while a panel is open. It reads the
// configuration, then polls the status as fast as the panel answers, reports
// every configuration reply and every changed status block to the target, and
// sends the commands posted to it in place of the next poll. It ends at the
// first failed exchange or on a stop request and then posts MsgLinkEnded.
//
// All operations are called on the GUI thread.
class TDeviceThread {
public:
    explicit TDeviceThread(QObject* targetWindow);
    virtual ~TDeviceThread();
    TDeviceThread(const TDeviceThread&) = delete;
    TDeviceThread& operator=(const TDeviceThread&) = delete;

    bool IsRunning() const;
    void Start();
    void Stop();

    void PostGpioOff();
    void PostSetGpio(std::uint8_t channel, std::uint8_t state);
    void PostWriteConfig(const ConfigBlock& block);
    // Whether every command posted since Start has been sent and answered.
    bool AllPostedAnswered() const;

    // The result fields.
    const TLinkOutcome& Outcome() const { return outcome_; }

private:
    // Mutex-guarded queue of owned messages. It accepts messages only while the
    // thread runs; what is left when the thread ends is freed with the queue.
    class Mailbox {
    public:
        void Open();
        void Close();
        // False when the thread does not run and the message was dropped.
        bool Post(std::unique_ptr<LinkCommandMessage> message);
        std::unique_ptr<LinkCommandMessage> Take();

    private:
        std::mutex mutex_;
        bool open_ = false;
        std::deque<std::unique_ptr<LinkCommandMessage>> messages_;
    };

    void LinkThreadMain();
    // Posts a reply or the end notice; the target then owns it.
    void PostToTarget(QEvent* event);
    void Post(std::unique_ptr<LinkCommandMessage> message);

    QObject* const TargetWindow;
    std::thread ThreadHandle;
    TLinkOutcome outcome_;
    std::atomic<bool> StopRequest{false};
    std::atomic<bool> Finished{true};
    Mailbox mailbox_;
    // Commands posted (GUI thread) and answered by the panel (link thread).
    std::uint64_t posted_ = 0;
    std::atomic<std::uint64_t> answered_{0};
};
