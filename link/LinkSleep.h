// SPDX-License-Identifier: Apache-2.0
#pragma once

// The link's 1 ms sleeps set the pace of the polling: three of them in every
// poll cycle, around an exchange of 2.5 ms on the line.

// Asks that the calling thread's sleeps end on time: Linux otherwise wakes a
// sleeping thread up to 50 us late, to gather wake-ups. Elsewhere it does nothing.
void WakeOnTime();

// Sleeps 1 ms. A wake-up still comes a little late (the system's timer latency,
// tens of microseconds); each sleep asks for that much less, as the thread's
// recent sleeps measured it, so that the sleeps last 1 ms on average.
void SleepOneMillisecond();
