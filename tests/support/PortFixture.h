// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/D2XXUnit_mod.h"
#include "sim/VirtualBus.h"
#include "tests/support/VirtualBusTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Every test starts with a fresh port module on the virtual bus, and records the
// error boxes the port would have shown.
class PortFixture : public VirtualBusTest {
protected:
    static constexpr std::uint32_t PanelLocation = 0x2001;

    void SetUp() override {
        VirtualBusTest::SetUp();
        SetPortErrorDialog([this](const std::string& text) { dialogs.push_back(text); });
    }
    void TearDown() override {
        SetPortErrorDialog(nullptr);
        VirtualBusTest::TearDown();
    }
    std::shared_ptr<VirtualPanel> AddPanel(const std::string& serial = "QV1.FFFF") {
        return VirtualBus::Instance().AddDevice(
            {PanelLocation, serial, "QUVO-8261-16", FT_DEVICE_232R, false});
    }

    std::vector<std::string> dialogs;
};

// A panel on the bus with its port set up, as the device list leaves it for the link.
class OpenPortFixture : public PortFixture {
protected:
    void SetUp() override {
        PortFixture::SetUp();
        panel = AddPanel();
        ASSERT_TRUE(PortSetUpSequence(PanelLocation));
    }
    void TearDown() override {
        PortShutDownSequence();
        PortFixture::TearDown();
    }

    std::shared_ptr<VirtualPanel> panel;
};
