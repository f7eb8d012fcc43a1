// Figures for the windows: ApplyConfiguration and ShowStatus on the offscreen
// platform, time from process start to the device list shown (--simulate), and
// resident memory with an editor open.
#include "D2XXUnit_mod.h"
#include "EventLoopWait.h"
#include "UnitGPI.h"
#include "UnitMain.h"
#include "VirtualBus.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

TFormEdit* Editor() {
    static TFormEdit* editor = [] {
        auto* created = new TFormEdit(false);
        created->SetChannelMask("FFFF");
        created->GoOffline();
        created->show();
        return created;
    }();
    return editor;
}

void ApplyConfiguration(benchmark::State& state) {
    ConfigBlock blocks[2];
    LoadFactoryValues(blocks[0]);
    LoadFactoryValues(blocks[1]);
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        blocks[1][RecordOffset(channel) + RecordMODE] = ModePulse;
        blocks[1][RecordOffset(channel) + RecordGROUP] = 2;
        blocks[1][ColourOffset(channel, 1) + ColourIntensity] = 127;
    }
    int flip = 0;
    for (auto _ : state) {
        Editor()->ApplyConfiguration(blocks[flip ^= 1]);
        QApplication::processEvents(); // include the repaint the change causes
    }
}
BENCHMARK(ApplyConfiguration)->Unit(benchmark::kMillisecond);

void ShowStatus(benchmark::State& state) {
    StatusBlock statuses[2]{};
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        statuses[1][StatusStateOffset(channel)] = std::uint8_t(channel & 3);
    }
    statuses[1][StatusSTATE18] = 1;
    int flip = 0;
    for (auto _ : state) {
        Editor()->ShowStatus(statuses[flip ^= 1]);
        QApplication::processEvents();
    }
}
BENCHMARK(ShowStatus)->Unit(benchmark::kMicrosecond);

double ResidentMegabytes() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return 0;
}

void StartUpTime() {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("QT_LOGGING_RULES", "quvo.app.info=true");
    const QTemporaryDir temp;
    environment.insert("TMPDIR", temp.path());
    program.setProcessEnvironment(environment);
    program.setReadChannel(QProcess::StandardError);
    QElapsedTimer timer;
    timer.start();
    program.start(QUVO_PROGRAM, {"--simulate"});
    QByteArray output;
    while (!output.contains("device list shown") && timer.elapsed() < 10000) {
        program.waitForReadyRead(100);
        output += program.readAllStandardError();
    }
    std::printf("start to device list shown: %lld ms\n", static_cast<long long>(timer.elapsed()));
    program.kill();
    program.waitForFinished();
}

void MemoryWithEditorOpen() {
    SetFtdiApi(SimulatorFtdiApi());
    AddDefaultVirtualPanels();
    const QTemporaryDir temp;
    TFormMain main(temp.filePath("QUVO8261.dat"));
    TFormEdit editor(false);
    main.SetEditor(&editor);
    main.show();
    ProcessEventsUntil([&] { return main.EntryCount > 0; }, 5000);
    main.LView->setCurrentItem(main.LView->topLevelItem(0));
    QTimer::singleShot(0, [&] {
        ProcessEventsUntil([&] { return editor.Online; }, 5000);
        std::printf("resident memory with an editor open: %.1f MB\n", ResidentMegabytes());
        editor.reject();
    });
    main.OpenSelectedDevice();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    StartUpTime();
    MemoryWithEditorOpen();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
