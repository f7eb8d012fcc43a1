// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QEvent>

#include <cstdint>
#include <vector>

// Messages between the editor window and the link thread. A payload is a member
// of its message, so ownership travels with the message and a dropped message
// frees its payload.

inline constexpr int MsgLinkCommand = 1025;
inline constexpr int MsgLinkReply = 1026;
inline constexpr int MsgLinkEnded = 1027;

// Editor -> link thread mailbox.
struct LinkCommandMessage {
    std::uint8_t command = 0;
    std::vector<std::uint8_t> payload; // empty: the command has no payload block
};

// Link thread -> target window: a configuration reply (code 3, 423 bytes) or a
// status block (19 bytes).
class LinkReplyEvent : public QEvent {
public:
    LinkReplyEvent(std::uint8_t replyCode, std::vector<std::uint8_t> payload)
        : QEvent(QEvent::Type(MsgLinkReply)), replyCode_(replyCode), payload_(std::move(payload)) {}
    std::uint8_t ReplyCode() const { return replyCode_; }
    const std::vector<std::uint8_t>& Payload() const { return payload_; }

private:
    std::uint8_t replyCode_;
    std::vector<std::uint8_t> payload_;
};

// Link thread -> target window: the thread has ended; its result fields are final.
class LinkEndedEvent : public QEvent {
public:
    LinkEndedEvent() : QEvent(QEvent::Type(MsgLinkEnded)) {}
};
