// SPDX-License-Identifier: Apache-2.0
#include "sim/VirtualPanel.h"

#include "link/WireProtocol.h"

#include <algorithm>
#include <thread>
#include <utility>

void VirtualPanel::SetLineTiming(LineModel model, std::chrono::microseconds latency) {
    std::lock_guard lock(mutex_);
    model_ = model;
    latency_ = latency;
}

bool VirtualPanel::SetLatencyTimer(std::uint8_t milliseconds) {
    return SetLatencyTimer(milliseconds, Clock::now());
}

bool VirtualPanel::SetLatencyTimer(std::uint8_t milliseconds, Clock::time_point at) {
    if (milliseconds < 1) {
        return false;
    }
    std::lock_guard lock(mutex_);
    latencyTimer_ = std::chrono::milliseconds(milliseconds);
    timerStartedAt_ = at;
    return true;
}

void VirtualPanel::SetEventCharacter(std::uint8_t character, bool enabled) {
    std::lock_guard lock(mutex_);
    eventCharacter_ = enabled ? std::optional(character) : std::nullopt;
}

std::uint8_t VirtualPanel::LatencyTimer() {
    std::lock_guard lock(mutex_);
    return std::uint8_t(latencyTimer_.count());
}

void VirtualPanel::SetFault(const LineFaultSettings& fault) {
    std::lock_guard lock(mutex_);
    fault_ = fault;
}

std::uint32_t VirtualPanel::Write(const std::uint8_t* bytes, std::uint32_t count) {
    return Write(bytes, count, Clock::now());
}

std::uint32_t VirtualPanel::Write(const std::uint8_t* bytes, std::uint32_t count,
                                  Clock::time_point now) {
    std::lock_guard lock(mutex_);
    const std::uint32_t accepted =
        fault_.kind == LineFault::ShortWrite && count > 0 ? count - 1 : count;
    const bool lineRate = model_ != LineModel::Instant;
    for (std::uint32_t i = 0; i < accepted; ++i) {
        const auto arrivedAt = lineRate ? now + ByteTime * std::int64_t(i + 1) : now;
        TakeByte(bytes[i], arrivedAt);
    }
    return accepted;
}

// Collects bytes as the firmware's frame parser would: hunt for the header, then
// the code, the payload of that code and the trailer.
void VirtualPanel::TakeByte(std::uint8_t byte, Clock::time_point arrivedAt) {
    incoming_.push_back(byte);
    const std::size_t size = incoming_.size();
    if (size <= FrameHeader.size()) {
        if (byte != FrameHeader[size - 1]) {
            incoming_.clear();
            if (byte == FrameHeader[0]) {
                incoming_.push_back(byte);
            }
        }
        return;
    }
    const std::uint8_t code = incoming_[3];
    if (code < 1 || code > 6) {
        incoming_.clear();
        Answer(PanelFirmware::ErrorReply(code, 0x01), arrivedAt);
        return;
    }
    const std::size_t frameLength = CommandPayloadLength[code] + 5;
    if (size < frameLength) {
        return;
    }
    std::vector<std::uint8_t> frame;
    frame.swap(incoming_);
    received_.push_back(ReceivedFrame{frame, arrivedAt});
    if (frame.back() != FrameTrailer) {
        Answer(PanelFirmware::ErrorReply(code, 0x02), arrivedAt);
        return;
    }
    auto reply = firmware_.HandleCommand(code, frame.data() + 4, arrivedAt);
    if (code == CmdWriteConfig && storageFault_) {
        ConfigBlock stored = firmware_.Configuration();
        storageFault_(stored);
        firmware_.SetConfiguration(stored);
    }
    if ((code == CmdWriteConfig || code == CmdChannelRecord) && storageKeeper_) {
        storageKeeper_(firmware_.Configuration());
    }
    Answer(std::move(reply), arrivedAt);
}

void VirtualPanel::Answer(std::vector<std::uint8_t> reply, Clock::time_point requestEnd) {
    std::chrono::milliseconds secondHalfDelay{0};
    std::size_t sent = reply.size();
    switch (fault_.kind) {
    case LineFault::NoAnswer:
        return;
    case LineFault::ErrorReply:
        reply = PanelFirmware::ErrorReply(reply[3], fault_.errorByte);
        sent = reply.size();
        break;
    case LineFault::ErrorReplyWithoutByte:
        reply = PanelFirmware::ErrorReply(reply[3], fault_.errorByte);
        sent = reply.size() - 1;
        break;
    case LineFault::BadHeader:
        reply[2] = 0xC8;
        break;
    case LineFault::BadTrailer:
        reply.back() = 0x00;
        break;
    case LineFault::PartialReply:
        sent = reply.size() / 2;
        break;
    case LineFault::SplitReply:
        secondHalfDelay = fault_.splitDelay;
        break;
    case LineFault::UnknownReplyCode:
        reply[3] = 0x07;
        break;
    default:
        break;
    }

    const bool lineRate = model_ != LineModel::Instant;
    auto start = std::max(requestEnd + latency_, lineFreeAt_);
    if (!lineRate) {
        start = std::max(requestEnd, lineFreeAt_);
    }
    for (std::size_t i = 0; i < sent; ++i) {
        // For the chip model: when the byte reaches the chip.
        auto readableAt = lineRate ? start + ByteTime * std::int64_t(i + 1) : start;
        if (i >= reply.size() / 2) {
            readableAt += secondHalfDelay;
        }
        outgoing_.push_back(PendingByte{reply[i], readableAt});
        lineFreeAt_ = readableAt;
    }
}

std::uint32_t VirtualPanel::AvailableLocked(Clock::time_point now) {
    if (model_ != LineModel::Chip) {
        std::uint32_t available = 0;
        for (const PendingByte& pending : outgoing_) {
            if (pending.readableAt > now) {
                break;
            }
            ++available;
        }
        return available;
    }
    // The chip sends a packet when 62 bytes are held, when its event character
    // arrives, or when its latency timer runs out. The timer restarts at every
    // packet, and runs out again and again while nothing is held (the chip then
    // sends its status bytes alone), so it runs out whole periods after the
    // last packet that carried data.
    while (delivered_ < outgoing_.size() && outgoing_[delivered_].readableAt <= now) {
        const auto held = outgoing_[delivered_].readableAt - timerStartedAt_;
        const auto periods = std::max<Clock::duration::rep>(
            1, (held + latencyTimer_ - Clock::duration(1)) / latencyTimer_);
        auto sendAt = timerStartedAt_ + periods * latencyTimer_;
        const std::size_t fullAt = delivered_ + PacketPayload - 1;
        if (fullAt < outgoing_.size()) {
            sendAt = std::min(sendAt, outgoing_[fullAt].readableAt);
        }
        for (std::size_t i = delivered_; eventCharacter_ && i < outgoing_.size() && i <= fullAt;
             ++i) {
            if (outgoing_[i].value == *eventCharacter_) {
                sendAt = std::min(sendAt, outgoing_[i].readableAt);
                break;
            }
        }
        if (sendAt > now) {
            break;
        }
        std::size_t packet = 0;
        while (packet < PacketPayload && delivered_ < outgoing_.size() &&
               outgoing_[delivered_].readableAt <= sendAt) {
            ++delivered_;
            ++packet;
        }
        timerStartedAt_ = sendAt;
    }
    return std::uint32_t(delivered_);
}

std::uint32_t VirtualPanel::QueuedBytes() {
    return QueuedBytesAt(Clock::now());
}

std::uint32_t VirtualPanel::QueuedBytesAt(Clock::time_point at) {
    std::lock_guard lock(mutex_);
    return AvailableLocked(at);
}

std::uint32_t VirtualPanel::Read(std::uint8_t* bytes, std::uint32_t count,
                                 std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            const auto now = Clock::now();
            const std::uint32_t available = AvailableLocked(now);
            if (available >= count || now >= deadline) {
                const std::uint32_t got = std::min(available, count);
                for (std::uint32_t i = 0; i < got; ++i) {
                    bytes[i] = outgoing_.front().value;
                    outgoing_.pop_front();
                }
                delivered_ -= std::min<std::size_t>(delivered_, got);
                return got;
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

void VirtualPanel::PurgeReceive() {
    std::lock_guard lock(mutex_);
    outgoing_.clear();
    delivered_ = 0;
}

void VirtualPanel::PurgeTransmit() {
    std::lock_guard lock(mutex_);
    incoming_.clear();
}

void VirtualPanel::PressKey(int channel, bool pressed) {
    std::lock_guard lock(mutex_);
    firmware_.PressKey(channel, pressed, Clock::now());
}

void VirtualPanel::SetGpi(int channel, bool active) {
    std::lock_guard lock(mutex_);
    firmware_.SetGpi(channel, active);
}

void VirtualPanel::SetGpioOutput(int channel, bool active) {
    std::lock_guard lock(mutex_);
    firmware_.SetGpioOutput(channel, active);
}

void VirtualPanel::SetKeyState(int key, std::uint8_t state) {
    std::lock_guard lock(mutex_);
    firmware_.SetKeyState(key, state);
}

void VirtualPanel::SetLockState(std::uint8_t state) {
    std::lock_guard lock(mutex_);
    firmware_.SetLockState(state);
}

void VirtualPanel::SetConfiguration(const ConfigBlock& block) {
    std::lock_guard lock(mutex_);
    firmware_.SetConfiguration(block);
}

void VirtualPanel::SetStorageFault(std::function<void(ConfigBlock&)> alter) {
    std::lock_guard lock(mutex_);
    storageFault_ = std::move(alter);
}

void VirtualPanel::SetStorageKeeper(std::function<void(const ConfigBlock&)> keep) {
    std::lock_guard lock(mutex_);
    storageKeeper_ = std::move(keep);
}

ConfigBlock VirtualPanel::Configuration() {
    std::lock_guard lock(mutex_);
    return firmware_.Configuration();
}

StatusBlock VirtualPanel::Status() {
    std::lock_guard lock(mutex_);
    return firmware_.Status(Clock::now());
}

std::vector<VirtualPanel::ReceivedFrame> VirtualPanel::ReceivedFrames() {
    std::lock_guard lock(mutex_);
    return received_;
}

std::size_t VirtualPanel::ReceivedFrameCount() {
    std::lock_guard lock(mutex_);
    return received_.size();
}

void VirtualPanel::ClearReceivedFrames() {
    std::lock_guard lock(mutex_);
    received_.clear();
}

std::vector<VirtualPanel::ReceivedFrame> VirtualPanel::TakeReceivedFrames() {
    std::lock_guard lock(mutex_);
    return std::exchange(received_, {});
}
