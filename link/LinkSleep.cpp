// SPDX-License-Identifier: Apache-2.0
#include "link/LinkSleep.h"

#include <algorithm>
#include <chrono>
#include <thread>

#ifdef __linux__
#include <sys/prctl.h>
#endif

void WakeOnTime() {
#ifdef __linux__
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL); // the least slack the kernel takes
#endif
}

void SleepOneMillisecond() {
    using namespace std::chrono;
    constexpr nanoseconds Sleep = 1ms;
    // A preempted thread wakes far later: such a sleep counts no more than this.
    constexpr nanoseconds MostLateness = 200us;
    thread_local nanoseconds lateness{0};
    const auto start = steady_clock::now();
    const nanoseconds asked = Sleep - lateness;
    std::this_thread::sleep_until(start + asked);
    const nanoseconds late = std::clamp<nanoseconds>(steady_clock::now() - start - asked,
                                                     nanoseconds::zero(), MostLateness);
    lateness += (late - lateness) / 8;
}
