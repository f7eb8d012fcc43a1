// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/D2XXUnit_mod.h"
#include "model/DeviceBlocks.h"

#include <atomic>
#include <cstdint>
#include <string>

// One exchange with the open panel: a command frame, then its reply. What it
// came to: on success the reply's code, with its payload at the start of the
// port's receive buffer until the next exchange; otherwise the failure, which
// the link's result fields carry and the editor words.
struct PanelExchange {
    std::uint8_t command = 0;
    std::uint32_t result = 0; // a LinkResultCode
    std::int32_t ioStatus = 0;
    std::uint8_t replyCode = 0;
    std::uint8_t errorByte = 0;

    bool Ok() const;
    // The failure in the editor's words; empty on success.
    std::string FailureText() const;
    // The status block every reply starts with.
    StatusBlock Status() const;
    // The whole reply to command 3: status and configuration.
    ConfigReply ConfigurationReply() const;
};

// Sends `command` (1..6) with its payload and reads the reply, waiting while
// `stop` is not set. The link thread and every other user of an open panel
// exchange through this.
PanelExchange ExchangeWithPanel(std::uint8_t command, const std::uint8_t* payload,
                                const std::atomic<bool>& stop);

// An open panel: the port module opens the device and sets the line up for the
// panel in the constructor, and shuts it down in the destructor. The module
// holds one port per process, so there is one OpenPanel at a time. The link
// thread may work the port between its Start and its Stop.
class OpenPanel {
public:
    // The library's failures during the set-up go to `errors` one by one (the
    // windows show each in a box); the port reports nothing once the set-up has
    // ended, opened or not.
    OpenPanel(std::uint32_t locationId, PortErrorDialog errors);
    ~OpenPanel();
    OpenPanel(const OpenPanel&) = delete;
    OpenPanel& operator=(const OpenPanel&) = delete;

    bool IsOpen() const { return open_; }

    // ExchangeWithPanel on this thread, with nothing to stop it but the reply
    // budget.
    PanelExchange Exchange(std::uint8_t command, const std::uint8_t* payload = nullptr);

private:
    bool open_ = false;
};
