// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/DeviceBlocks.h"

#include <chrono>
#include <cstdint>
#include <deque>

// The panel test: a fixed queue of steps that presses every present key, runs
// all lights through red, green, blue and white ramps, sets the F1/F2 functions,
// shows the palette and ends on the factory configuration.

// A step's kind equals the command code it sends; 0 is a pause.
enum class TestStepKind : std::uint8_t { Pause = 0, SetGpio = 2, WriteConfig = 4, GpioOff = 6 };

struct TestStep {
    TestStepKind Kind = TestStepKind::Pause;
    std::chrono::milliseconds Pause{0}; // Pause
    std::uint8_t Channel = 0;           // SetGpio
    std::uint8_t State = 0;             // SetGpio
    ConfigBlock Block{};                // WriteConfig
};

using TestScript = std::deque<TestStep>;

// The block every configuration step starts from: plain white at intensity 0,
// no groups, no memory, Free mode, 0.3 s pulses, no panel-wide options.
ConfigBlock TestBaseBlock();

TestScript MakeTestScript(const ChannelFlags& channelPresent);
