// Runs the link thread against a virtual panel on a 115200-baud line for 5 s and
// prints polling rate, cycle time against its lower bound, CPU use of the link
// thread and the latency of a posted command, one figure per line.
#include "D2XXUnit_mod.h"
#include "UnitThread.h"
#include "VirtualBus.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double CpuSeconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    constexpr std::uint32_t Location = 0x4000;
    auto panel = VirtualBus::Instance().AddDevice({Location, "B.FFFF", "QUVO-8261-16", 5, false});
    panel->SetLineTiming(true, 0us);
    SetFtdiApi(SimulatorFtdiApi());
    ShowErrors = false;
    if (!PortSetUpSequence(Location)) {
        std::puts("port set-up failed");
        return 1;
    }

    QObject target;
    TDeviceThread thread(&target);
    thread.Start();
    std::this_thread::sleep_for(700ms); // start wait and the configuration read
    application.processEvents();

    // Polling rate and CPU use over 5 s of an idle panel.
    panel->ClearReceivedFrames();
    const double processCpuStart = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const double mainCpuStart = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const auto start = Clock::now();
    while (Clock::now() - start < 5s) {
        std::this_thread::sleep_for(50ms);
        application.processEvents();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double linkCpu = (CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processCpuStart) -
                           (CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - mainCpuStart);
    const auto polls = double(panel->ReceivedFrameCount());
    const double cycleMs = seconds * 1000.0 / polls;
    const double lowerBoundMs = (5 + 24) * 10.0 / 115200.0 * 1000.0 + 1.0;

    // Command latency: from PostSetGpio to the frame's arrival at the panel.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pause(0, 4000);
    std::vector<double> latenciesMs;
    for (int sample = 0; sample < 400; ++sample) {
        std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
        panel->ClearReceivedFrames();
        const auto posted = Clock::now();
        thread.PostSetGpio(1, std::uint8_t(sample & 1));
        for (;;) {
            const auto frames = panel->ReceivedFrames();
            const auto found = std::find_if(frames.begin(), frames.end(),
                                            [](const auto& frame) { return frame.bytes[3] == 2; });
            if (found != frames.end()) {
                latenciesMs.push_back(
                    std::chrono::duration<double, std::milli>(found->arrivedAt - posted).count());
                break;
            }
            std::this_thread::sleep_for(100us);
        }
        application.processEvents();
    }
    thread.Stop();
    PortShutDownSequence();
    std::sort(latenciesMs.begin(), latenciesMs.end());

    std::printf("polls per second: %.1f\n", polls / seconds);
    std::printf("mean cycle time: %.3f ms\n", cycleMs);
    std::printf("cycle lower bound: %.3f ms\n", lowerBoundMs);
    std::printf("cycle ratio: %.2f\n", cycleMs / lowerBoundMs);
    std::printf("link thread CPU per cycle: %.1f us\n", linkCpu / polls * 1e6);
    std::printf("link thread CPU share of one core: %.2f %%\n", linkCpu / seconds * 100.0);
    std::printf("command latency median: %.3f ms\n", latenciesMs[latenciesMs.size() / 2]);
    std::printf("command latency p99: %.3f ms\n", latenciesMs[latenciesMs.size() * 99 / 100]);
    return 0;
}
