// SPDX-License-Identifier: Apache-2.0
// Runs the link thread against a virtual panel whose line behaves as an FT232R
// does (115200 baud, 62-byte packets, the latency timer, the event character):
// with the chip's defaults (16 ms timer, no event character), with the 1 ms
// timer alone, and with the program's setting (1 ms timer and the replies'
// trailer 0xC5 as event character). It prints per run: polling rate, cycle time
// against its bound, CPU use of the link thread, command latency and GPIO press
// to status; then the ratios. Then the same runs through libftdi1 and through
// FTDI's D2XX against the emulated FT232R that carries the same panel model,
// and against that chip handing every byte over as it arrives, with the
// program's setting's ratio to it; the program restarts itself under umockdev's
// preload for that.
#include "link/D2XXUnit_mod.h"
#include "link/LibFtdiBackEnd.h"
#include "link/ThreadHandOff.h"
#include "link/UnitThread.h"
#include "sim/VirtualBus.h"
#include "tests/support/LinkReceiver.h"
#include "tests/usb/EmulatedFt232r.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double CpuSeconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

struct Figures {
    double pollsPerSecond = 0;
    double cycleMs = 0;
    double boundMs = 0;
    double linkCpuMicroseconds = 0;
    double linkCpuShare = 0;
    double commandMedianMs = 0;
    double commandP99Ms = 0;
    double pressMedianMs = 0;
    double pressP99Ms = 0;
};

double Percentile(std::vector<double> values, int percent) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, values.size() * std::size_t(percent) / 100)];
}

// What the chip is told: its latency timer, and whether the replies' trailer is
// its event character.
struct ChipSetting {
    const char* name;
    std::uint8_t latencyTimerMs;
    bool eventCharacter;
};

const ChipSetting ChipDefaults{"chip's defaults (16 ms timer)", VirtualPanel::DefaultLatencyTimerMs,
                               false};
static_assert(PortLatencyTimerMs == 1, "the names below say 1 ms");
const ChipSetting TimerAlone{"1 ms latency timer alone", PortLatencyTimerMs, false};
const ChipSetting ProgramsSetting{"the program's setting (1 ms timer, event character 0xC5)",
                                  PortLatencyTimerMs, true};

constexpr double ByteMs = 10.0 / 115200.0 * 1000.0;
// A poll and its reply on the line: 5 and 24 bytes.
constexpr double ExchangeLineMs = (5 + 24) * ByteMs;

// The shortest cycle the link's waits allow with a chip that hands every byte
// over at once: a read polls the queue 1 ms after it starts and every 1 ms
// after that, so the header is taken at the first whole millisecond after it
// is in and the rest at the first after the trailer; then the 1 ms pause.
double PacedCycleBoundMs() {
    const double headerTaken = std::max(1.0, std::ceil((5 + 4) * ByteMs));
    const double replyTaken = headerTaken + std::max(1.0, std::ceil(ExchangeLineMs - headerTaken));
    return replyTaken + 1.0;
}

Figures Measure(VirtualPanel* panel, std::uint32_t location, const ChipSetting& setting) {
    const std::uint8_t latencyTimerMs = setting.latencyTimerMs;
    ShowErrors = false;
    Figures figures;
    if (!PortSetUpSequence(location)) {
        std::puts("port set-up failed");
        return figures;
    }
    Port_SetLatencyTimer(latencyTimerMs);
    Port_SetEventCharacter(PortEventCharacter, setting.eventCharacter);

    // Stands in for the editor: notes when a status showing channel 1's GPIO arrives.
    LinkReceiver watcher;
    std::uint8_t expected = 0;
    Clock::time_point seenAt{};
    QEventLoop* waiting = nullptr;
    watcher.onReply = [&](const LinkReplyEvent& reply) {
        if (!reply.Payload().empty() && (reply.Payload()[0] & 1) == expected) {
            seenAt = Clock::now();
            if (waiting != nullptr) {
                waiting->quit();
            }
        }
    };
    TDeviceThread thread(&watcher);
    thread.Start();
    std::this_thread::sleep_for(800ms); // start wait and the configuration read
    QCoreApplication::processEvents();

    // Polling rate and CPU use over 5 s of an idle panel.
    panel->ClearReceivedFrames();
    const double processCpuStart = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    const double mainCpuStart = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const auto start = Clock::now();
    while (Clock::now() - start < 5s) {
        std::this_thread::sleep_for(50ms);
        QCoreApplication::processEvents();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double linkCpu = (CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processCpuStart) -
                           (CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - mainCpuStart);
    const auto polls = double(panel->ReceivedFrameCount());
    figures.pollsPerSecond = polls / seconds;
    figures.cycleMs = seconds * 1000.0 / polls;
    figures.boundMs = PacedCycleBoundMs();
    figures.linkCpuMicroseconds = linkCpu / polls * 1e6;
    figures.linkCpuShare = linkCpu / seconds * 100.0;

    // Command latency (post to the frame at the panel) and GPIO press to the
    // status that shows it, as the editor would receive it.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pause(0, 4000);
    std::vector<double> commandMs;
    std::vector<double> pressMs;
    for (int sample = 0; sample < 300; ++sample) {
        std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
        QCoreApplication::processEvents();
        panel->ClearReceivedFrames();
        expected = std::uint8_t(~sample & 1);
        seenAt = {};
        // Waits in an event loop, as the editor does: woken by the reply's event.
        QEventLoop loop;
        waiting = &loop;
        QTimer::singleShot(1s, &loop, &QEventLoop::quit);
        const auto posted = Clock::now();
        thread.PostSetGpio(1, expected);
        if (seenAt == Clock::time_point{}) {
            loop.exec();
        }
        waiting = nullptr;
        pressMs.push_back(std::chrono::duration<double, std::milli>(seenAt - posted).count());
        const auto frames = panel->ReceivedFrames();
        const auto found = std::find_if(frames.begin(), frames.end(),
                                        [](const auto& frame) { return frame.bytes[3] == 2; });
        if (found != frames.end()) {
            commandMs.push_back(
                std::chrono::duration<double, std::milli>(found->arrivedAt - posted).count());
        }
    }
    thread.Stop();
    PortShutDownSequence();
    figures.commandMedianMs = Percentile(commandMs, 50);
    figures.commandP99Ms = Percentile(commandMs, 99);
    figures.pressMedianMs = Percentile(pressMs, 50);
    figures.pressP99Ms = Percentile(pressMs, 99);
    return figures;
}

void Print(const QString& title, const Figures& f) {
    std::printf("%s\n", qPrintable(title));
    std::printf("  polls per second: %.1f\n", f.pollsPerSecond);
    std::printf("  mean cycle time: %.3f ms (bound %.3f ms)\n", f.cycleMs, f.boundMs);
    std::printf("  link thread CPU per cycle: %.1f us, share of one core: %.2f %%\n",
                f.linkCpuMicroseconds, f.linkCpuShare);
    std::printf("  command latency median %.3f ms, p99 %.3f ms\n", f.commandMedianMs,
                f.commandP99Ms);
    std::printf("  GPIO press to status shown: median %.3f ms, p99 %.3f ms\n", f.pressMedianMs,
                f.pressP99Ms);
}

// The three settings through one back-end, and how they compare.
void PrintSettings(const char* backEnd, const Figures& defaults, const Figures& timerAlone,
                   const Figures& programs) {
    Print(QString("%1, %2:").arg(backEnd, ChipDefaults.name), defaults);
    Print(QString("%1, %2:").arg(backEnd, TimerAlone.name), timerAlone);
    Print(QString("%1, %2:").arg(backEnd, ProgramsSetting.name), programs);
    std::printf("polling rate ratio, program's setting / chip's defaults: %.2f, "
                "/ timer alone: %.2f\n",
                programs.pollsPerSecond / defaults.pollsPerSecond,
                programs.pollsPerSecond / timerAlone.pollsPerSecond);
    std::printf("cycle ratio (bound %.3f ms: line time %.3f ms + 1 ms pause, the reads' 1 ms "
                "waits rounding the exchange up to whole milliseconds; what the timer and USB "
                "add is above it): timer alone %.2f, program's setting %.2f\n",
                PacedCycleBoundMs(), ExchangeLineMs, timerAlone.cycleMs / timerAlone.boundMs,
                programs.cycleMs / programs.boundMs);
}

Figures MeasureVirtual(std::uint32_t location, const ChipSetting& setting) {
    auto panel = VirtualBus::Instance().AddDevice({location, "B.FFFF", "QUVO-8261-16", 5, false});
    panel->SetLineTiming(LineModel::Chip);
    const Figures figures = Measure(panel.get(), location, setting);
    VirtualBus::Instance().RemoveDevice(location);
    return figures;
}

// The three settings through one real library against one emulated chip; the
// library is chosen once the chip is attached, as FTDI's looks at the bus when
// it loads.
void MeasureEmulated(const char* title, const std::function<bool()>& chooseLibrary) {
    EmulatedUsbBus bus;
    EmulatedFt232r& chip = bus.AddChip();
    if (!chooseLibrary()) {
        return;
    }
    if (EnumerateDevices() != FT_OK || DeviceInfoCount == 0) {
        std::printf("%s: the emulated chip is not listed\n", title);
        return;
    }
    const std::uint32_t location = DeviceInfoList[0].LocId;
    const Figures defaults = Measure(&chip.Panel(), location, ChipDefaults);
    const Figures timerAlone = Measure(&chip.Panel(), location, TimerAlone);
    const Figures programs = Measure(&chip.Panel(), location, ProgramsSetting);
    PrintSettings(title, defaults, timerAlone, programs);
    // The same chip handing every byte over as it arrives from the line: what
    // the emulation and USB cost alone, the best any setting could do here.
    chip.Panel().SetLineTiming(LineModel::BaudRate);
    const Figures handedOverAtOnce = Measure(&chip.Panel(), location, ProgramsSetting);
    chip.Panel().SetLineTiming(LineModel::Chip);
    Print(QString("%1, a chip that hands every byte over at once:").arg(title), handedOverAtOnce);
    std::printf("polling rate ratio to that chip: program's setting %.2f, timer alone %.2f\n",
                programs.pollsPerSecond / handedOverAtOnce.pollsPerSecond,
                timerAlone.pollsPerSecond / handedOverAtOnce.pollsPerSecond);
}

// How long Stop takes while the link polls (the editor waits this long when it
// closes): a stop request is seen between two exchanges, or ends a reply wait.
void MeasureStopTimes(std::uint32_t location) {
    auto panel = VirtualBus::Instance().AddDevice({location, "S.FFFF", "QUVO-8261-16", 5, false});
    panel->SetLineTiming(LineModel::Chip);
    ShowErrors = false;
    if (!PortSetUpSequence(location)) {
        std::puts("port set-up failed");
        return;
    }
    LinkReceiver watcher;
    TDeviceThread thread(&watcher);
    std::mt19937 random(11);
    std::uniform_int_distribution<int> running(520, 560);
    std::vector<double> stopMs;
    for (int cycle = 0; cycle < 20; ++cycle) {
        thread.Start();
        std::this_thread::sleep_for(std::chrono::milliseconds(running(random)));
        const auto start = Clock::now();
        thread.Stop();
        stopMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        QCoreApplication::processEvents();
    }
    PortShutDownSequence();
    VirtualBus::Instance().RemoveDevice(location);
    std::printf("link stop while polling (virtual panel, the program's setting): median %.3f ms, "
                "max %.3f ms over %zu stops\n",
                Percentile(stopMs, 50), Percentile(stopMs, 100), stopMs.size());
}

} // namespace

int main(int argc, char** argv) {
    // The emulated chip needs umockdev's preload from the start of the process.
    const char* preload = std::getenv("LD_PRELOAD");
    if (preload == nullptr || std::strstr(preload, "libumockdev-preload") == nullptr) {
        setenv("LD_PRELOAD", "libumockdev-preload.so.0", 1);
        execv("/proc/self/exe", argv);
        std::puts("could not restart under umockdev's preload; libftdi1 figures left out");
    }
    QCoreApplication application(argc, argv);
    SetFtdiApi(SimulatorFtdiApi());
    const Figures virtualDefaults = MeasureVirtual(0x4000, ChipDefaults);
    const Figures virtualTimer = MeasureVirtual(0x4001, TimerAlone);
    const Figures virtualPrograms = MeasureVirtual(0x4003, ProgramsSetting);
    PrintSettings("virtual panel", virtualDefaults, virtualTimer, virtualPrograms);
    MeasureStopTimes(0x4002);
    std::string why;
    if (EmulatedUsbBus probe; !probe.Available(why)) {
        std::printf("libftdi1 figures left out: %s\n", why.c_str());
        return 0;
    }
    MeasureEmulated("libftdi1 and the emulated FT232R", [] {
        SetFtdiApi(LibFtdiFtdiApi());
        return true;
    });
    MeasureEmulated("FTDI's D2XX and the emulated FT232R", [] {
        std::string reason;
        if (!UseEmulationD2xx(reason)) {
            std::printf("D2XX figures left out: %s\n", reason.c_str());
            return false;
        }
        return true;
    });
    return 0;
}
