// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/LinkMessages.h"
#include "link/ThreadHandOff.h"

#include "ui/EventLoopWait.h"

#include <QObject>

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

// Stands in for the editor window: records what the link thread posts, and
// tells `onReply` of each reply as it arrives.
class LinkReceiver : public QObject {
public:
    bool event(QEvent* event) override {
        HandOffAcquire(event);
        if (event->type() == QEvent::Type(MsgLinkReply)) {
            const auto* reply = static_cast<LinkReplyEvent*>(event);
            if (onReply) {
                onReply(*reply);
            }
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
    std::function<void(const LinkReplyEvent&)> onReply;
    std::vector<int> replies;
    std::vector<std::size_t> payloadSizes;
    std::vector<std::vector<std::uint8_t>> payloads;
    int ended = 0;
};

// Runs the event loop until `done` holds; false when `timeout` ran out first.
inline bool WaitFor(const std::function<bool()>& done,
                    std::chrono::milliseconds timeout = std::chrono::milliseconds(20000)) {
    return ProcessEventsUntil(done, int(timeout.count()));
}
