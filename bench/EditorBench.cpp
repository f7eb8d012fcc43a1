// SPDX-License-Identifier: Apache-2.0
// Figures for the windows: ApplyConfiguration and ShowStatus on the offscreen
// platform, time from process start to the device list shown (--simulate),
// resident memory with an editor open, a mode click's GUI-thread time, opening
// the swatch menu, applying a reply after a colour edit, the memory map, and
// saving and loading a .gpi file.
#include "app/EditorWindows.h"
#include "app/UnitMain.h"
#include "editor/MemoryMapView.h"
#include "editor/StripMenus.h"
#include "editor/UnitGPI.h"
#include "link/D2XXUnit_mod.h"
#include "model/SettingsFiles.h"
#include "sim/VirtualBus.h"
#include "tests/support/ResidentMemory.h"
#include "ui/ColourButton.h"
#include "ui/Dialogs.h"
#include "ui/EventLoopWait.h"
#include "ui/FindControl.h"
#include "ui/OwnerDrawnMenu.h"
#include "ui/PaintBox.h"
#include "ui/Panel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

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

// Applies the factory configuration and `changed` (the factory one edited by it)
// in turn, with the repaint each change causes.
void ApplyAlternately(benchmark::State& state, const std::function<void(ConfigBlock&)>& changed) {
    ConfigBlock blocks[2];
    LoadFactoryValues(blocks[0]);
    LoadFactoryValues(blocks[1]);
    changed(blocks[1]);
    int flip = 0;
    for (auto _ : state) {
        Editor()->ApplyConfiguration(blocks[flip ^= 1]);
        QApplication::processEvents();
    }
}

void ApplyConfiguration(benchmark::State& state) {
    ApplyAlternately(state, [](ConfigBlock& block) {
        for (int channel = 1; channel <= ChannelCount; ++channel) {
            block[RecordOffset(channel) + RecordMODE] = ModePulse;
            block[RecordOffset(channel) + RecordGROUP] = 2;
            block[ColourOffset(channel, 1) + ColourIntensity] = 127;
        }
    });
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

// Opening the swatch menu: measuring and drawing its 12 items.
void OpenColourMenu(benchmark::State& state) {
    TFormEdit* editor = Editor();
    editor->Menus().AimColourMenu(5, 1);
    for (auto _ : state) {
        FindControl<OwnerDrawnMenu>(*editor, "CMenu")
            ->resize(FindControl<OwnerDrawnMenu>(*editor, "CMenu")->sizeHint());
        benchmark::DoNotOptimize(FindControl<OwnerDrawnMenu>(*editor, "CMenu")->grab());
    }
}
BENCHMARK(OpenColourMenu)->Unit(benchmark::kMillisecond);

// A configuration reply after a colour edit: every colour button of one state changes.
void ApplyAfterColourEdit(benchmark::State& state) {
    ApplyAlternately(state, [](ConfigBlock& block) {
        for (int channel = 1; channel <= ChannelCount; ++channel) {
            block[ColourOffset(channel, 2) + ColourBlue] = 127;
            block[ColourOffset(channel, 2) + ColourRed] = 0;
        }
    });
}
BENCHMARK(ApplyAfterColourEdit)->Unit(benchmark::kMillisecond);

void DrawMemoryMapFull(benchmark::State& state) {
    TFormEdit* editor = Editor();
    ConfigBlock block;
    LoadFactoryValues(block);
    for (int slot = 1; slot <= ChannelCount; ++slot) {
        block[RecordOffset(slot) + RecordISMEM] = std::uint8_t(slot % 2);
        block[MemoryByteOffset(slot, 1)] = 0x0F;
    }
    editor->ApplyConfiguration(block);
    for (auto _ : state) {
        editor->MemoryMap().DrawMemoryMap();
    }
}
BENCHMARK(DrawMemoryMapFull)->Unit(benchmark::kMillisecond);

// One hover change: the map drawn again and copied to the screen.
void MemoryMapHover(benchmark::State& state) {
    TFormEdit* editor = Editor();
    editor->BtnMemClick();
    int cell = 0;
    for (auto _ : state) {
        cell = (cell + 1) % 16;
        editor->MemoryMap().PBoxMemMouseMove(QPoint(100 + 49 * cell, 40 + 24 * cell));
        FindControl<PaintBox>(*editor, "PBoxMem")->repaint();
    }
    editor->BtnMemClick();
}
BENCHMARK(MemoryMapHover)->Unit(benchmark::kMillisecond);

// A .gpi file written over and read back, as "to File..." and "from File..." do.
void SaveSettingsFileToDisk(benchmark::State& state) {
    const QTemporaryDir folder;
    const QString path = folder.filePath("bench.gpi");
    ConfigBlock block;
    LoadFactoryValues(block);
    for (auto _ : state) {
        WriteSettingsFile(FilePath(path), block);
    }
}
BENCHMARK(SaveSettingsFileToDisk)->Unit(benchmark::kMillisecond);

void LoadSettingsFileFromDisk(benchmark::State& state) {
    const QTemporaryDir folder;
    const QString path = folder.filePath("bench.gpi");
    ConfigBlock block;
    LoadFactoryValues(block);
    WriteSettingsFile(FilePath(path), block);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadSettingsFile(FilePath(path)));
    }
}
BENCHMARK(LoadSettingsFileFromDisk)->Unit(benchmark::kMillisecond);

void StartUpTime() {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("QT_LOGGING_RULES", "quvo.app.info=true");
    const QTemporaryDir temp;
    environment.insert("XDG_RUNTIME_DIR", temp.path());
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

// Opens the first default virtual panel in the real windows and runs `body`
// while the editor is online.
void WithEditorOnline(const std::function<void(TFormEdit&)>& body) {
    SetFtdiApi(UseVirtualPanels());
    const QTemporaryDir temp;
    const EditorWindows windows = ShowEditorWindows(temp.filePath("QUVO8261.dat"), false);
    ProcessEventsUntil([&] { return !windows.main->ListedEntries().empty(); }, 5000);
    if (!RunEditorOnline(
            *windows.main, *windows.editor, 0, [&] { body(*windows.editor); }, 5000)) {
        std::puts("the editor did not go online");
    }
}

void MemoryWithEditorOpen() {
    WithEditorOnline([](TFormEdit&) {
        std::printf("resident memory with an editor open: %.1f MB\n",
                    double(ResidentKilobytes()) / 1024.0);
    });
}

// GUI-thread time of a mode-button click: the handler, SendConfiguration and
// the post of the configuration frame to the link thread.
void ModeClickToFrame() {
    WithEditorOnline([](TFormEdit& editor) {
        std::vector<qint64> nanoseconds;
        for (int click = 0; click < 1000; ++click) {
            ProcessEventsUntil([&] { return editor.Model().ConfigReceived(); }, 1000);
            ColourButton* button =
                click % 2 ? FindControl<ColourButton>(editor, "BtnFix", 1 + click % 16)
                          : FindControl<ColourButton>(editor, "BtnAny", 1 + click % 16);
            QElapsedTimer timer;
            timer.start();
            button->click();
            nanoseconds.push_back(timer.nsecsElapsed());
        }
        std::sort(nanoseconds.begin(), nanoseconds.end());
        std::printf("mode click to configuration frame posted: median %.3f ms, p99 %.3f ms\n",
                    double(nanoseconds[nanoseconds.size() / 2]) / 1e6,
                    double(nanoseconds[nanoseconds.size() * 99 / 100]) / 1e6);
    });
}

// An undo of a load that changed every field: the configuration writes it takes
// and the time from Ctrl+Z to the panel's read-back, on the line as a real
// FT232R paces it.
void UndoOfAFullConfiguration() {
    WithEditorOnline([](TFormEdit& editor) {
        const QTemporaryDir folder;
        const QString file = folder.filePath("full.gpi");
        ConfigBlock block;
        LoadFactoryValues(block);
        for (std::size_t i = 0; i < ConfigBlockSize; ++i) {
            block[i] = std::uint8_t(block[i] ^ 1);
        }
        WriteSettingsFile(FilePath(file), block);
        Dialogs::SetFileChooser([&](Dialogs::FileDialog, const QString&) { return file; });
        const auto settled = [&] {
            ProcessEventsUntil([&] { return editor.Model().Settled(); }, 5000);
        };
        editor.MenuLoadFileClick();
        settled();
        // The first of the default virtual panels, which the editor opened.
        auto panel = VirtualBus::Instance().Panel(0x1121);
        std::vector<double> milliseconds;
        std::size_t writes = 0;
        for (int round = 0; round < 20; ++round) {
            panel->ClearReceivedFrames();
            QElapsedTimer timer;
            timer.start();
            editor.MenuUndoClick();
            settled();
            milliseconds.push_back(double(timer.nsecsElapsed()) / 1e6);
            for (const auto& frame : panel->ReceivedFrames()) {
                writes += frame.bytes[3] == 4 ? 1 : 0;
            }
            editor.MenuRedoClick();
            settled();
        }
        Dialogs::SetFileChooser(nullptr);
        std::sort(milliseconds.begin(), milliseconds.end());
        std::printf("undo of a full configuration: %.1f configuration writes, median %.1f ms "
                    "to the read-back\n",
                    double(writes) / 20.0, milliseconds[milliseconds.size() / 2]);
    });
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    StartUpTime();
    MemoryWithEditorOpen();
    ModeClickToFrame();
    UndoOfAFullConfiguration();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
