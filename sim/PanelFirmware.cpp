// SPDX-License-Identifier: Apache-2.0
#include "sim/PanelFirmware.h"

#include "link/WireProtocol.h"

#include <algorithm>

PanelFirmware::PanelFirmware() {
    LoadFactoryValues(configuration_);
}

void PanelFirmware::SetGpioOutput(int channel, bool active) {
    gpio_[channel] = active;
    pulseEnd_[channel] = {};
}

void PanelFirmware::PressGpio(int channel, bool pressed, Clock::time_point now) {
    if (channel < 1 || channel > ChannelCount) {
        return;
    }
    switch (configuration_[RecordOffset(channel) + RecordMODE]) {
    case ModeFixed:
        if (pressed) {
            gpio_[channel] = !gpio_[channel];
        }
        break;
    case ModePulse:
        if (pressed) {
            const int tenths = configuration_[RecordOffset(channel) + RecordDURATION];
            pulseEnd_[channel] = now + std::chrono::milliseconds(100 * tenths);
            gpio_[channel] = false;
        }
        break;
    default:
        gpio_[channel] = pressed;
        break;
    }
}

StatusBlock PanelFirmware::Status(Clock::time_point now) const {
    StatusBlock status{};
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        const bool output = gpio_[channel] || now < pulseEnd_[channel];
        status[StatusStateOffset(channel)] =
            std::uint8_t((output ? 1 : 0) | (gpi_[channel] ? 2 : 0));
    }
    status[StatusSTATE17] = keys_[0];
    status[StatusSTATE18] = keys_[1];
    status[StatusLOCKSTATE] = lockState_;
    return status;
}

std::vector<std::uint8_t> PanelFirmware::StatusReply(std::uint8_t code,
                                                     Clock::time_point now) const {
    std::vector<std::uint8_t> frame(FrameHeader.begin(), FrameHeader.end());
    frame.push_back(code);
    const StatusBlock status = Status(now);
    frame.insert(frame.end(), status.begin(), status.end());
    if (code == CmdReadConfig) {
        frame.insert(frame.end(), configuration_.begin(), configuration_.end());
    }
    frame.push_back(FrameTrailer);
    return frame;
}

std::vector<std::uint8_t> PanelFirmware::ErrorReply(std::uint8_t code, std::uint8_t errorByte) {
    std::vector<std::uint8_t> frame(FrameHeader.begin(), FrameHeader.end());
    frame.push_back(std::uint8_t(code | 0x80));
    frame.push_back(errorByte);
    return frame;
}

std::vector<std::uint8_t> PanelFirmware::HandleCommand(std::uint8_t code,
                                                       const std::uint8_t* payload,
                                                       Clock::time_point now) {
    switch (code) {
    case CmdSetGpio:
        PressGpio(payload[0], payload[1] != 0, now);
        break;
    case CmdWriteConfig:
        std::copy_n(payload, ConfigBlockSize, configuration_.begin());
        break;
    case CmdChannelRecord: // addressed by its CHANNEL byte
        if (payload[0] >= 1 && payload[0] <= ChannelCount) {
            std::copy_n(payload, ChannelRecordSize,
                        configuration_.begin() + RecordOffset(payload[0]));
        }
        break;
    case CmdGpioOff:
        for (int channel = 1; channel <= ChannelCount; ++channel) {
            SetGpioOutput(channel, false);
        }
        break;
    case CmdPollStatus:
    case CmdReadConfig:
        break;
    default:
        return ErrorReply(code, 0x01);
    }
    return StatusReply(code, now);
}
