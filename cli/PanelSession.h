// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/OpenPanel.h"
#include "model/DeviceBlocks.h"

#include <cstdint>
#include <optional>
#include <string>

// One panel opened for the command-line tool: the commands it sends, one at a
// time on the calling thread, over the open panel the link thread uses too.
class PanelSession {
public:
    // Opens the panel; IsOpen tells whether it succeeded and SetUpError what the
    // port reported.
    explicit PanelSession(std::uint32_t locationId);

    bool IsOpen() const { return panel_->IsOpen(); }
    const std::string& SetUpError() const { return setUpError_; }

    // Each returns false on a link failure; FailureText then words it as the
    // editor does.
    bool ReadConfiguration(ConfigBlock& block, StatusBlock& status);
    // Command 4 with the block, then command 3: the panel's read-back.
    bool WriteConfiguration(const ConfigBlock& block, ConfigBlock& readBack, StatusBlock& status);
    bool PollStatus(StatusBlock& status);
    bool SetGpio(std::uint8_t channel, std::uint8_t state, StatusBlock& status);
    bool GpioOff(StatusBlock& status);
    std::string FailureText() const { return last_.FailureText(); }

private:
    // A status reply's block, or false.
    bool StatusOf(std::uint8_t command, const std::uint8_t* payload, StatusBlock& status);

    std::string setUpError_;
    std::optional<OpenPanel> panel_;
    PanelExchange last_;
};
