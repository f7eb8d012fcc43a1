// SPDX-License-Identifier: Apache-2.0
#include "cli/PanelSession.h"

#include "link/LinkSleep.h"
#include "link/WireProtocol.h"

PanelSession::PanelSession(std::uint32_t locationId) {
    WakeOnTime(); // the exchanges run on this thread
    panel_.emplace(locationId, [this](const std::string& text) {
        setUpError_ += (setUpError_.empty() ? "" : "\n") + text;
    });
}

bool PanelSession::ReadConfiguration(ConfigBlock& block, StatusBlock& status) {
    last_ = panel_->Exchange(CmdReadConfig);
    if (!last_.Ok()) {
        return false;
    }
    const ConfigReply reply = last_.ConfigurationReply();
    status = StatusPartOf(reply);
    block = ConfigPartOf(reply);
    return true;
}

bool PanelSession::WriteConfiguration(const ConfigBlock& block, ConfigBlock& readBack,
                                      StatusBlock& status) {
    last_ = panel_->Exchange(CmdWriteConfig, block.data());
    return last_.Ok() && ReadConfiguration(readBack, status);
}

bool PanelSession::StatusOf(std::uint8_t command, const std::uint8_t* payload,
                            StatusBlock& status) {
    last_ = panel_->Exchange(command, payload);
    if (last_.Ok()) {
        status = last_.Status();
    }
    return last_.Ok();
}

bool PanelSession::PollStatus(StatusBlock& status) {
    return StatusOf(CmdPollStatus, nullptr, status);
}

bool PanelSession::SetGpio(std::uint8_t channel, std::uint8_t state, StatusBlock& status) {
    const std::uint8_t payload[] = {channel, state};
    return StatusOf(CmdSetGpio, payload, status);
}

bool PanelSession::GpioOff(StatusBlock& status) {
    return StatusOf(CmdGpioOff, nullptr, status);
}
