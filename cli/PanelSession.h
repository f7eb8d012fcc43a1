// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/DeviceBlocks.h"

#include <cstdint>
#include <string>

// One panel opened for the command-line tool: the port set-up of the windows,
// then exchanges one at a time on the calling thread with the same wire
// protocol the link thread uses. The port is shut down when the session ends.
class PanelSession {
public:
    // Runs the port set-up sequence; IsOpen tells whether it succeeded and
    // SetUpError what the port module reported.
    explicit PanelSession(std::uint32_t locationId);
    ~PanelSession();
    PanelSession(const PanelSession&) = delete;
    PanelSession& operator=(const PanelSession&) = delete;

    bool IsOpen() const { return open_; }
    const std::string& SetUpError() const { return setUpError_; }

    // Each returns false on a link failure; FailureText then words it as the
    // editor does.
    bool ReadConfiguration(ConfigBlock& block, StatusBlock& status);
    // Command 4 with the block, then command 3: the panel's read-back.
    bool WriteConfiguration(const ConfigBlock& block, ConfigBlock& readBack, StatusBlock& status);
    bool PollStatus(StatusBlock& status);
    bool SetGpio(std::uint8_t channel, std::uint8_t state, StatusBlock& status);
    bool GpioOff(StatusBlock& status);
    std::string FailureText() const;

private:
    bool Exchange(std::uint8_t command, const std::uint8_t* payload);

    bool open_ = false;
    std::string setUpError_;
    std::uint32_t result_ = 0;
    std::int32_t ioStatus_ = 0;
    std::uint8_t errorByte_ = 0;
    std::uint8_t lastCommand_ = 0;
    std::uint8_t lastReply_ = 0;
};
