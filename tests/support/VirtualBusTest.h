// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/D2XXUnit_mod.h"
#include "sim/VirtualBus.h"

#include <gtest/gtest.h>

// Every test starts with a fresh port module on an empty virtual bus with no
// failures set, and leaves the bus empty again.
class VirtualBusTest : public ::testing::Test {
protected:
    void SetUp() override {
        VirtualBus::Instance().RemoveAllDevices();
        VirtualBus::Instance().ClearFailures();
        VirtualBus::Instance().ClearCallLog();
        ResetPortModule();
        SetFtdiApi(SimulatorFtdiApi());
    }
    void TearDown() override {
        VirtualBus::Instance().ClearFailures();
        VirtualBus::Instance().RemoveAllDevices();
    }
};
