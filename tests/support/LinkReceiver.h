#pragma once

#include "link/LinkMessages.h"
#include "link/ThreadHandOff.h"

#include <QCoreApplication>
#include <QObject>

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

// Stands in for the editor window: records what the link thread posts.
class LinkReceiver : public QObject {
public:
    bool event(QEvent* event) override {
        HandOffAcquire(event);
        if (event->type() == QEvent::Type(MsgLinkReply)) {
            const auto* reply = static_cast<LinkReplyEvent*>(event);
            replies.push_back(reply->ReplyCode());
            payloadSizes.push_back(reply->Payload().size());
            payloads.push_back(reply->Payload());
            return true;
        }
        if (event->type() == QEvent::Type(MsgLinkEnded)) {
            ++ended;
            return true;
        }
        return QObject::event(event);
    }
    std::vector<int> replies;
    std::vector<std::size_t> payloadSizes;
    std::vector<std::vector<std::uint8_t>> payloads;
    int ended = 0;
};

// Runs the event loop until `done` holds; false when `timeout` ran out first.
template <typename Predicate>
bool WaitFor(Predicate done, std::chrono::milliseconds timeout = std::chrono::milliseconds(3000)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
