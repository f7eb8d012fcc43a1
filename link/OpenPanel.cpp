// SPDX-License-Identifier: Apache-2.0
#include "link/OpenPanel.h"

#include "link/LinkFailureText.h"
#include "link/WireProtocol.h"

#include <algorithm>

bool PanelExchange::Ok() const {
    return result == LinkOk;
}

std::string PanelExchange::FailureText() const {
    return LinkFailureText(result, ioStatus, errorByte, command, replyCode);
}

StatusBlock PanelExchange::Status() const {
    StatusBlock status{};
    std::copy_n(RxBuffer.begin(), StatusBlockSize, status.begin());
    return status;
}

ConfigReply PanelExchange::ConfigurationReply() const {
    ConfigReply reply{};
    std::copy_n(RxBuffer.begin(), ConfigReplySize, reply.begin());
    return reply;
}

PanelExchange ExchangeWithPanel(std::uint8_t command, const std::uint8_t* payload,
                                const std::atomic<bool>& stop) {
    PanelExchange exchange;
    exchange.command = command;
    exchange.result = SendFrame(command, payload);
    if (exchange.result == LinkOk && !stop.load(std::memory_order_acquire)) {
        exchange.result = ReceiveReply(exchange.replyCode, exchange.errorByte, stop);
    }
    exchange.ioStatus = LastIoStatus;
    return exchange;
}

OpenPanel::OpenPanel(std::uint32_t locationId, PortErrorDialog errors) {
    SetPortErrorDialog(std::move(errors));
    open_ = PortSetUpSequence(locationId);
    SetPortErrorDialog(nullptr);
    // A set-up that failed leaves the errors on; the port reports nothing from
    // here on (the device list refreshes without boxes).
    ShowErrors = false;
}

OpenPanel::~OpenPanel() {
    if (open_) {
        PortShutDownSequence();
    }
}

PanelExchange OpenPanel::Exchange(std::uint8_t command, const std::uint8_t* payload) {
    static const std::atomic<bool> neverStopped{false};
    return ExchangeWithPanel(command, payload, neverStopped);
}
