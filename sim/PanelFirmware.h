// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/DeviceBlocks.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

// What the panel's firmware does with a command: its stored configuration, its
// GPIO outputs by mode, GPI inputs, F1/F2 keys and key lock. Not thread-safe:
// the virtual panel guards it.
class PanelFirmware {
public:
    using Clock = std::chrono::steady_clock;

    PanelFirmware();

    // Handles one complete command and returns the whole reply frame.
    std::vector<std::uint8_t> HandleCommand(std::uint8_t code, const std::uint8_t* payload,
                                            Clock::time_point now);
    // The reply frame for a command code the firmware does not know, or a broken frame.
    static std::vector<std::uint8_t> ErrorReply(std::uint8_t code, std::uint8_t errorByte);

    StatusBlock Status(Clock::time_point now) const;
    const ConfigBlock& Configuration() const { return configuration_; }
    void SetConfiguration(const ConfigBlock& block) { configuration_ = block; }

    void SetGpi(int channel, bool active) { gpi_[channel] = active; }
    // A channel key pressed or released: the GPIO output by the channel's mode.
    void PressKey(int channel, bool pressed, Clock::time_point now) {
        PressGpio(channel, pressed, now);
    }
    void SetGpioOutput(int channel, bool active);
    void SetKeyState(int key, std::uint8_t state) { keys_[key == 1 ? 0 : 1] = state; }
    void SetLockState(std::uint8_t state) { lockState_ = state; }

private:
    void PressGpio(int channel, bool pressed, Clock::time_point now);
    std::vector<std::uint8_t> StatusReply(std::uint8_t code, Clock::time_point now) const;

    ConfigBlock configuration_{};
    std::array<bool, ChannelCount + 1> gpio_{};
    std::array<bool, ChannelCount + 1> gpi_{};
    std::array<Clock::time_point, ChannelCount + 1> pulseEnd_{};
    std::array<std::uint8_t, 2> keys_{};
    std::uint8_t lockState_ = 0;
};
