// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/LinkSleep.h"
#include "link/WireProtocol.h"

#include <atomic>
#include <cstdint>

// The link's clock as a count of its 1 ms steps. Each step still sleeps its
// millisecond, so the link keeps its pace; but a test reads how many steps a
// wait took, which a loaded machine does not change (it makes each step longer).
class StepClock {
public:
    StepClock() {
        Steps().store(0);
        SetWireClock({[] { return Steps().load(); },
                      [] {
                          SleepOneMillisecond();
                          Steps().fetch_add(1);
                      }});
    }
    ~StepClock() { UseRealWireClock(); }
    StepClock(const StepClock&) = delete;
    StepClock& operator=(const StepClock&) = delete;

    std::uint32_t Now() const { return Steps().load(); }

private:
    static std::atomic<std::uint32_t>& Steps() {
        static std::atomic<std::uint32_t> steps{0};
        return steps;
    }
};
