// SPDX-License-Identifier: Apache-2.0
#include "cli/PanelSession.h"

#include "link/D2XXUnit_mod.h"
#include "link/LinkFailureText.h"
#include "link/LinkSleep.h"
#include "link/WireProtocol.h"

#include <algorithm>
#include <atomic>

PanelSession::PanelSession(std::uint32_t locationId) {
    WakeOnTime(); // the exchanges run on this thread
    SetPortErrorDialog([this](const std::string& text) {
        setUpError_ += (setUpError_.empty() ? "" : "\n") + text;
    });
    open_ = PortSetUpSequence(locationId);
    SetPortErrorDialog(nullptr);
    ShowErrors = false;
}

PanelSession::~PanelSession() {
    if (open_) {
        PortShutDownSequence();
    }
}

bool PanelSession::Exchange(std::uint8_t command, const std::uint8_t* payload) {
    static const std::atomic<bool> neverStopped{false};
    lastCommand_ = command;
    lastReply_ = 0;
    result_ = SendFrame(command, payload);
    if (result_ == LinkOk) {
        result_ = ReceiveReply(lastReply_, errorByte_, neverStopped);
    }
    ioStatus_ = LastIoStatus;
    return result_ == LinkOk;
}

bool PanelSession::ReadConfiguration(ConfigBlock& block, StatusBlock& status) {
    if (!Exchange(CmdReadConfig, nullptr)) {
        return false;
    }
    std::copy_n(RxBuffer.begin(), StatusBlockSize, status.begin());
    std::copy_n(RxBuffer.begin() + StatusBlockSize, ConfigBlockSize, block.begin());
    return true;
}

bool PanelSession::WriteConfiguration(const ConfigBlock& block, ConfigBlock& readBack,
                                      StatusBlock& status) {
    return Exchange(CmdWriteConfig, block.data()) && ReadConfiguration(readBack, status);
}

bool PanelSession::PollStatus(StatusBlock& status) {
    if (!Exchange(CmdPollStatus, nullptr)) {
        return false;
    }
    std::copy_n(RxBuffer.begin(), StatusBlockSize, status.begin());
    return true;
}

bool PanelSession::SetGpio(std::uint8_t channel, std::uint8_t state, StatusBlock& status) {
    const std::uint8_t payload[] = {channel, state};
    if (!Exchange(CmdSetGpio, payload)) {
        return false;
    }
    std::copy_n(RxBuffer.begin(), StatusBlockSize, status.begin());
    return true;
}

bool PanelSession::GpioOff(StatusBlock& status) {
    if (!Exchange(CmdGpioOff, nullptr)) {
        return false;
    }
    std::copy_n(RxBuffer.begin(), StatusBlockSize, status.begin());
    return true;
}

std::string PanelSession::FailureText() const {
    return LinkFailureText(result_, ioStatus_, errorByte_, lastCommand_, lastReply_);
}
