// SPDX-License-Identifier: Apache-2.0
// The soak: a seeded run of user actions in the windows and faults of the
// cable, the panels and the driver library, with the program's promises checked
// after every step. Usage:
//   quvo_soak --seconds S [--seed N]          run for S seconds
//   quvo_soak --seed N --steps K [--skip I,J] replay the first K steps of a seed
// Exit code 0: every check held; 1: a check failed (seed, step and a shorter
// failing step list are printed); 2: a step hung.
#include "app/EditorWindows.h"
#include "app/UnitMain.h"
#include "editor/ChannelStrip.h"
#include "editor/ControlPanel.h"
#include "editor/EditorControls.h"
#include "editor/StripMenus.h"
#include "editor/UnitGPI.h"
#include "link/D2XXUnit_mod.h"
#include "model/ProgramPaths.h"
#include "model/SettingsFiles.h"
#include "sim/VirtualBus.h"
#include "tests/soak/SoakPlan.h"
#include "tests/support/DialogHooks.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/ResidentMemory.h"
#include "ui/ColourButton.h"
#include "ui/Dialogs.h"
#include "ui/DurationField.h"
#include "ui/EventLoopWait.h"
#include "ui/FindControl.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmapCache>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <set>
#include <thread>
#include <unordered_set>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// Steps before memory is measured: caches (the style's pictures, fonts) fill up
// to their limits first.
constexpr long WarmUpSteps = 5000;

class CheckFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::uint64_t BlockHash(const ConfigBlock& block) {
    std::uint64_t hash = 1469598103934665603ull;
    for (const std::uint8_t byte : block) {
        hash = (hash ^ byte) * 1099511628211ull;
    }
    return hash;
}

// A regular file's bytes; nothing for a FIFO or a folder.
QByteArray FileBytes(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        return {};
    }
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "GPIO3 MODE 0/2, ...": the fields two blocks hold differently.
std::string DifferenceText(const ConfigBlock& first, const ConfigBlock& second) {
    std::string text;
    for (const FieldDifference& difference : ConfigDifferences(first, second)) {
        text += (text.empty() ? "" : ", ") + difference.field + " " +
                std::to_string(difference.first) + "/" + std::to_string(difference.second);
    }
    return text;
}

struct SoakPanel {
    VirtualDeviceInfo info;
    std::shared_ptr<VirtualPanel> panel;
    bool plugged = true;
    int replugIn = 0;                                 // steps until it is plugged in again
    int faultLeft = 0;                                // steps its line fault lasts
    std::unordered_set<std::uint64_t> configurations; // what a user action produced
    ConfigBlock lastSent{};
};

struct SoakOptions {
    std::uint64_t seed = 1;
    double seconds = 0;
    long steps = 0; // a replay's step count
    std::set<long> skipped;
};

class Soak {
public:
    explicit Soak(const SoakOptions& options) : options_(options), plan_(options.seed) {}

    int Run() {
        SetUp();
        const long startKb = ResidentKilobytes();
        clock_.start();
        QTimer ticks;
        QObject::connect(&ticks, &QTimer::timeout, [&] { Tick(); });
        ticks.start(0);
        std::thread watchdog([this] { Watch(); });
        QApplication::exec();
        ticks.stop();
        finished_.store(true);
        watchdog.join();
        const long endKb = ResidentKilobytes();
        Report(startKb, endKb);
        TearDown();
        if (!failure_.isEmpty()) {
            return 1;
        }
        if (stepIndex_ >= WarmUpSteps + 10000 && endKb - warmKb_ > 5 * 1024) {
            std::printf("FAILED: resident memory grew by %ld kB over %ld steps\n", endKb - warmKb_,
                        stepIndex_ - WarmUpSteps);
            return 1;
        }
        return 0;
    }

    long FailedStep() const { return failedStep_; }

private:
    void SetUp() {
        // The style keeps pictures of what it drew in a cache that grows to its
        // limit (10 MB) over hours of use. Kept small it is full by the end of the
        // warm-up, so that what memory does after it is the program's own.
        QPixmapCache::setCacheLimit(2048);
        SetFtdiApi(SimulatorFtdiApi());
        VirtualBus& bus = VirtualBus::Instance();
        for (const VirtualDeviceInfo& info :
             {VirtualDeviceInfo{0x7001, "SOAK1.FFFF", "QUVO-8261-16"},
              VirtualDeviceInfo{0x7002, "SOAK2.FF00", "QUVO-8261-08"}}) {
            SoakPanel& soakPanel = panels_[info.locationId];
            soakPanel.info = info;
            soakPanel.panel = bus.AddDevice(info);
            soakPanel.panel->SetLineTiming(LineModel::Instant);
            soakPanel.configurations.insert(BlockHash(soakPanel.panel->Configuration()));
        }
        CurrentPaths() = PathsForProgram(folder_.filePath("QUVO8261"));
        ::mkfifo(folder_.filePath("fifo.gpi").toLocal8Bit().constData(), 0600);
        QFile garbage(folder_.filePath("garbage.gpi"));
        garbage.open(QIODevice::WriteOnly);
        const char garbageBytes[] = "\x01\x02[GPIO1]\nMODE=banana\n\xff\xfe";
        garbage.write(garbageBytes, sizeof garbageBytes - 1);
        garbage.close();

        Dialogs::SetRecorder([this](const Dialogs::Message&) { ++messages_; });
        Dialogs::SetAnswerer([this](const QString&) { return (step_.a & 1) != 0; });
        Dialogs::SetColourChooser([this](const QColor&) {
            return std::optional<QColor>(QColor::fromRgb(QRgb(step_.b * 977)));
        });
        Dialogs::SetFileChooser([this](Dialogs::FileDialog, const QString&) {
            return chosenFile_.isEmpty() ? std::nullopt : std::optional<QString>(chosenFile_);
        });
        Dialogs::SetDifferencesAnswerer(
            [this](const QString&, const QStringList&) { return (step_.b & 1) != 0; });
        EditorWindows windows = ShowEditorWindows(CurrentPaths().programSettingsFile, true);
        main_ = std::move(windows.main);
        editor_ = std::move(windows.editor);
        editor_->SetTestPause([](std::chrono::milliseconds) {});
    }

    void TearDown() {
        main_.reset();
        editor_.reset();
        ResetDialogHooks();
        VirtualBus::Instance().ClearFailures();
        VirtualBus::Instance().RemoveAllDevices();
    }

    bool Done() const {
        if (!failure_.isEmpty()) {
            return true;
        }
        if (options_.steps > 0) {
            return stepIndex_ >= options_.steps;
        }
        return clock_.elapsed() >= qint64(options_.seconds * 1000);
    }

    // One step per turn of the event loop; the editor's own loop keeps turning
    // it while a panel is open.
    void Tick() {
        if (busy_) {
            return;
        }
        if (Done()) {
            if (editor_->isVisible()) {
                closing_ = true;
                editor_->reject();
            } else if (!ending_) {
                ending_ = true;
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            }
            return;
        }
        busy_ = true;
        const long index = stepIndex_++;
        step_ = plan_.Next();
        lastProgress_.store(clock_.elapsed());
        if (options_.skipped.count(index) == 0) {
            if (options_.steps > 0) {
                // A replay names its steps, for the reader of a failure.
                std::printf("step %ld: %s (%d, %d)\n", index, SoakKindName(step_.kind), step_.a,
                            step_.b);
                std::fflush(stdout);
            }
            try {
                const int messagesBefore = messages_;
                Do(step_);
                Check(messagesBefore);
            } catch (const CheckFailed& failed) {
                failure_ = failed.what();
                failedStep_ = index;
            }
        }
        if (index == WarmUpSteps) {
            warmKb_ = ResidentKilobytes();
        }
        if (index % 1000 == 0) {
            trend_.push_back(ResidentKilobytes());
            heapTrend_.push_back(long(HeapInUseBytes() / 1024));
        }
        busy_ = false;
    }

    bool Online() const { return editor_->isVisible() && editor_->Model().Online(); }

    SoakPanel* OpenPanel() {
        const auto found = panels_.find(openLocation_);
        return editor_->isVisible() && found != panels_.end() ? &found->second : nullptr;
    }

    QAction* Item(const char* name) const { return editor_->findChild<QAction*>(name); }

    // An enabled item of `menu`, the menu aimed as the control that opens it
    // aims it; nothing without that control.
    void Trigger(QMenu* menu, const QObject* opener, const std::function<void()>& aim, int pick) {
        if (opener == nullptr) {
            return;
        }
        aim();
        QList<QAction*> items;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && action->isEnabled()) {
                items << action;
            }
        }
        if (!items.isEmpty()) {
            items[pick % items.size()]->trigger();
        }
    }

    template <typename Control>
    Control* Visible(const QString& prefix, int channel) const {
        auto* control = editor_->findChild<Control*>(prefix + QString::number(channel));
        return control != nullptr && control->isVisible() && control->isEnabled() ? control
                                                                                  : nullptr;
    }

    void Do(const SoakStep& step) {
        AgeFaults();
        const int channel = 1 + step.a % 16;
        if (IsFault(step.kind)) {
            DoFault(step, channel);
        } else if (step.kind == SoakKind::OpenPanel) {
            Open(step.a);
        } else if (editor_->isVisible()) {
            DoInEditor(step, channel);
        } else {
            // A user's pace while no panel is open: the device list refreshes
            // meanwhile instead of thousands of steps that find no editor.
            ProcessEventsUntil([] { return false; }, 20);
        }
    }

    void DoInEditor(const SoakStep& step, int channel) {
        const int state = (step.a / 16) % 4;
        ColourButton* colour = editor_->findChild<ColourButton*>(ColourButtonName(state, channel));
        StripMenus& menus = editor_->Menus();
        if (colour != nullptr && !colour->isVisible()) {
            colour = nullptr;
        }
        switch (step.kind) {
        case SoakKind::ModeClick:
            if (Visible<ColourButton>(step.b % 3 == 0   ? "BtnAny"
                                      : step.b % 3 == 1 ? "BtnFix"
                                                        : "BtnPls",
                                      channel) != nullptr) {
                ChannelStrip& strip = editor_->Strip(channel);
                step.b % 3 == 0   ? strip.BtnAny1Click()
                : step.b % 3 == 1 ? strip.BtnFix1Click()
                                  : strip.BtnPls1Click();
            }
            break;
        case SoakKind::GroupChange:
            if (auto* box = Visible<QComboBox>("BoxGrp", channel)) {
                box->setCurrentIndex(step.b % box->count());
                editor_->Strip(channel).BoxGrp1Click();
            }
            break;
        case SoakKind::DurationStep:
            if (auto* field = Visible<DurationField>("EditMs", channel)) {
                field->setValue(field->value() + (step.b % 2 == 0 ? 0.1 : -0.1));
                editor_->Strip(channel).EditMs1ButtonClick();
            }
            break;
        case SoakKind::DurationCopy:
            if (step.b % 4 < 2) {
                auto* field = Visible<DurationField>("EditMs", channel);
                Trigger(
                    editor_->findChild<QMenu*>("DMenu"), field,
                    [&] { menus.DMenuPopup(channel, field->Value()); }, step.b);
            } else {
                auto* pulse = Visible<ColourButton>("BtnPls", channel);
                Trigger(
                    editor_->findChild<QMenu*>("MMenu"), pulse,
                    [&] { menus.MMenuPopup(channel, ModePulse, pulse->Caption()); }, step.b);
            }
            break;
        case SoakKind::ColourPick:
            Trigger(
                editor_->findChild<QMenu*>("CMenu"), colour,
                [&] { menus.AimColourMenu(channel, state); }, step.b);
            break;
        case SoakKind::Brightness:
            Trigger(
                editor_->findChild<QMenu*>("BMenu"), colour,
                [&] { menus.AimBrightnessMenu(state); }, step.b);
            break;
        case SoakKind::ColourCopy:
            Trigger(
                editor_->findChild<QMenu*>("SMenu"), colour,
                [&] { menus.AimCopyMenu(channel, state); }, step.b);
            break;
        case SoakKind::ToggleSave:
        case SoakKind::ToggleLock:
            if (auto* box = editor_->findChild<QCheckBox*>(
                    step.kind == SoakKind::ToggleSave ? "BoxSave" : "BoxLock");
                box != nullptr && box->isEnabled()) {
                box->click();
            }
            break;
        case SoakKind::KeyFunction:
            if (step.a % 2 == 0) {
                Trigger(
                    editor_->findChild<QMenu*>("CtrlMenu1"), editor_.get(),
                    [&] { editor_->Controls().CtrlMenu1Popup(); }, step.b);
            } else {
                Trigger(
                    editor_->findChild<QMenu*>("CtrlMenu2"), editor_.get(),
                    [&] { editor_->Controls().CtrlMenu2Popup(); }, step.b);
            }
            break;
        case SoakKind::Undo:
        case SoakKind::Redo:
        case SoakKind::Revert:
        case SoakKind::LoadDefault:
        case SoakKind::LoadFactory:
        case SoakKind::SaveDefault: {
            static const std::map<SoakKind, const char*> items = {
                {SoakKind::Undo, "MenuUndo"},
                {SoakKind::Redo, "MenuRedo"},
                {SoakKind::Revert, "MenuRevert"},
                {SoakKind::LoadDefault, "MenuLoadDefault"},
                {SoakKind::LoadFactory, "MenuLoadFactory"},
                {SoakKind::SaveDefault, "MenuSaveDefault"},
            };
            if (QAction* item = Item(items.at(step.kind)); item != nullptr && item->isEnabled()) {
                item->trigger();
            }
            break;
        }
        case SoakKind::Compare:
            chosenFile_ = folder_.filePath("saved.gpi");
            Item("MenuCompare")->trigger();
            break;
        case SoakKind::LoadFile:
            Load(step.a % 6);
            break;
        case SoakKind::SaveFile:
            Save(step.a % 4);
            break;
        case SoakKind::GpioPress:
            if (auto* button = Visible<ColourButton>("BtnGPO", channel)) {
                const QPointF centre = QRectF(button->rect()).center();
                for (const QEvent::Type type :
                     {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                    QMouseEvent event(type, centre, button->mapToGlobal(centre), Qt::LeftButton,
                                      type == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                       : Qt::NoButton,
                                      Qt::NoModifier);
                    QApplication::sendEvent(button, &event);
                }
            }
            break;
        case SoakKind::TestStartStop:
            editor_->BtnTestClick();
            break;
        case SoakKind::CloseEditor:
            closing_ = true;
            editor_->reject();
            break;
        default:
            break;
        }
    }

    void Open(int row) {
        if (editor_->isVisible()) {
            return;
        }
        auto* list = FindControl<QTreeWidget>(*main_, "LView");
        if (list->topLevelItemCount() == 0) {
            return;
        }
        const int chosen = row % list->topLevelItemCount();
        list->setCurrentItem(list->topLevelItem(chosen));
        openLocation_ = main_->ListedEntries()[std::size_t(chosen)].LocationId;
        closing_ = false;
        reconnected_ = true;
        // The editor's own loop turns the steps until it closes, with a timer of
        // its own: a timer never fires again while its own handler runs.
        QTimer ticks;
        QObject::connect(&ticks, &QTimer::timeout, [this] { Tick(); });
        ticks.start(0);
        busy_ = false;
        main_->OpenSelectedDevice();
        busy_ = true;
        openLocation_ = 0;
    }

    void Load(int which) {
        const QString saved = folder_.filePath("saved.gpi");
        const QString cut = folder_.filePath("cut.gpi");
        if (which == 2) {
            QFile file(cut);
            file.open(QIODevice::WriteOnly);
            const QByteArray whole = FileBytes(saved);
            file.write(whole.left(whole.size() / 2));
        }
        const QString files[] = {
            saved,          folder_.filePath("garbage.gpi"), cut, folder_.filePath("fifo.gpi"),
            folder_.path(), folder_.filePath("missing.gpi")};
        chosenFile_ = files[which];
        Item("MenuLoadFile")->trigger();
    }

    // A save ends with the old file as it was or a complete new one, never a
    // file cut short, whatever the disk does.
    void Save(int how) {
        const QString files[] = {folder_.filePath("saved.gpi"), folder_.filePath("full.gpi"),
                                 "/proc/soak.gpi", folder_.filePath("fifo.gpi")};
        chosenFile_ = files[how];
        const QByteArray before = FileBytes(chosenFile_);
        if (how == 1) {
            const FileSizeLimit full(200);
            Item("MenuSaveFile")->trigger();
        } else {
            Item("MenuSaveFile")->trigger();
        }
        ++checks_["saved files whole"];
        if (how > 1) {
            return;
        }
        const QByteArray after = FileBytes(chosenFile_);
        if (after == before || after.isEmpty()) {
            return;
        }
        const QString copy = folder_.filePath("rewritten.gpi");
        try {
            WriteSettingsFile(FilePath(copy), ReadSettingsFile(FilePath(chosenFile_)));
        } catch (const std::exception& error) {
            throw CheckFailed("a saved file cannot be read back: " + std::string(error.what()));
        }
        if (FileBytes(copy) != after) {
            throw CheckFailed("a saved file is not complete (" + std::to_string(after.size()) +
                              " bytes)");
        }
    }

    void DoFault(const SoakStep& step, int channel) {
        ++faults_[SoakKindName(step.kind)];
        VirtualBus& bus = VirtualBus::Instance();
        SoakPanel& target = step.b % 2 == 0 || OpenPanel() == nullptr
                                ? std::next(panels_.begin(), step.a % 2)->second
                                : *OpenPanel();
        switch (step.kind) {
        case SoakKind::LineFault:
            if (target.plugged) {
                target.panel->SetFault({LineFault(1 + step.a % 9), 7, 30ms});
                target.faultLeft = 1 + step.b % 4;
            }
            break;
        case SoakKind::Unplug:
            if (target.plugged) {
                bus.RemoveDevice(target.info.locationId);
                target.plugged = false;
                target.replugIn = 1 + step.b % 6;
            }
            break;
        case SoakKind::LibraryError:
            bus.FailCall(ApiCall(step.a % int(ApiCall::GetStatus) + 1), FT_IO_ERROR);
            libraryErrorLeft_ = 1 + step.b % 3;
            break;
        case SoakKind::PanelKey:
            if (target.plugged) {
                target.panel->PressKey(channel, true);
                target.panel->PressKey(channel, false);
            }
            break;
        case SoakKind::PanelGpi:
            if (target.plugged) {
                target.panel->SetGpi(channel, step.b % 2 == 0);
            }
            break;
        default:
            break;
        }
    }

    bool FaultActive() const {
        if (libraryErrorLeft_ > 0) {
            return true;
        }
        for (const auto& [location, panel] : panels_) {
            if (panel.faultLeft > 0 || !panel.plugged) {
                return true;
            }
        }
        return false;
    }

    void AgeFaults() {
        if (libraryErrorLeft_ > 0 && --libraryErrorLeft_ == 0) {
            VirtualBus::Instance().ClearFailures();
        }
        for (auto& [location, soakPanel] : panels_) {
            if (soakPanel.faultLeft > 0 && --soakPanel.faultLeft == 0) {
                soakPanel.panel->SetFault({});
            }
            if (!soakPanel.plugged && --soakPanel.replugIn <= 0) {
                VirtualBus::Instance().PlugIn(soakPanel.info, soakPanel.panel);
                soakPanel.plugged = true;
            }
        }
    }

    // The promises, after every step.
    void Check(int messagesBefore) {
        // The bus logs every call for the tests; the soak reads no log.
        VirtualBus::Instance().ClearCallLog();
        // Every configuration a panel holds is one a user action sent whole.
        for (auto& [location, soakPanel] : panels_) {
            // The configuration first: a panel records a frame before it stores
            // it, so every frame behind what it holds is among those taken next.
            const ConfigBlock held = soakPanel.panel->Configuration();
            for (const VirtualPanel::ReceivedFrame& frame : soakPanel.panel->TakeReceivedFrames()) {
                if (frame.bytes.size() == ConfigBlockSize + 5 && frame.bytes[3] == 4) {
                    ConfigBlock block;
                    std::copy_n(frame.bytes.begin() + 4, ConfigBlockSize, block.begin());
                    soakPanel.configurations.insert(BlockHash(block));
                    soakPanel.lastSent = block;
                }
            }
            ++checks_["panel holds only what was sent"];
            if (soakPanel.configurations.count(BlockHash(held)) == 0) {
                throw CheckFailed(soakPanel.info.serialNumber +
                                  " holds a configuration no action sent; against the last "
                                  "one sent: " +
                                  DifferenceText(soakPanel.lastSent, held));
            }
        }
        SoakPanel* open = OpenPanel();
        if (open == nullptr) {
            // The editor closed: by the user, or by the link with a message saying why.
            if (wasOpen_ && !closing_) {
                ++checks_["a failure is reported"];
                if (messages_ == messagesAtOpen_) {
                    throw CheckFailed("the editor closed without saying why");
                }
            }
            wasOpen_ = false;
            return;
        }
        if (!wasOpen_) {
            messagesAtOpen_ = messagesBefore;
        }
        wasOpen_ = true;
        if (FaultActive()) {
            return;
        }
        // A user waits for a panel just opened to show its values; with the line
        // sound they come within the link's start wait and one read.
        if (!editor_->Model().Online() &&
            !ProcessEventsUntil([&] { return !editor_->isVisible() || Online(); }, 5000)) {
            throw CheckFailed("the editor did not go online within 5 s");
        }
        // With the line sound, every edit reaches the panel or the link says it
        // failed; once all is answered the editor shows what the panel holds.
        const bool answered = ProcessEventsUntil(
            [&] {
                return !Online() || (editor_->Model().Settled() && !editor_->Model().TestRunning());
            },
            5000);
        if (!answered && editor_->isVisible()) {
            throw CheckFailed("an edit was neither answered nor reported within 5 s");
        }
        if (Online() && editor_->Model().Settled() && !editor_->Model().TestRunning()) {
            ++checks_[reconnected_ ? "editor shows the panel after opening"
                                   : "editor shows the panel after edits"];
            reconnected_ = false;
            if (editor_->Model().Configuration() != open->panel->Configuration()) {
                throw CheckFailed(
                    "the editor shows another configuration than " + open->info.serialNumber +
                    " holds (editor/panel): " +
                    DifferenceText(editor_->Model().Configuration(), open->panel->Configuration()));
            }
        }
    }

    // No step may take longer than the link's own time-outs and a margin.
    void Watch() {
        while (!finished_.load()) {
            std::this_thread::sleep_for(200ms);
            if (clock_.elapsed() - lastProgress_.load() > 30000 && !finished_.load()) {
                std::printf("HUNG: seed %llu, step %ld (%s) has run for 30 s\n",
                            static_cast<unsigned long long>(options_.seed), stepIndex_ - 1,
                            SoakKindName(step_.kind));
                std::fflush(stdout);
                ::_exit(2);
            }
        }
    }

    void Report(long startKb, long endKb) const {
        const double seconds = double(clock_.elapsed()) / 1000;
        std::printf("seed %llu: %ld steps in %.1f s (%.0f steps/s)\n",
                    static_cast<unsigned long long>(options_.seed), stepIndex_, seconds,
                    double(stepIndex_) / seconds);
        std::printf("faults injected:");
        for (const auto& [name, count] : faults_) {
            std::printf(" %s %d;", name.c_str(), count);
        }
        std::printf("\nchecks:");
        for (const auto& [name, count] : checks_) {
            std::printf(" %s %ld;", name.c_str(), count);
        }
        std::printf("\nresident memory: %ld kB at start, %ld kB after %ld steps, %ld kB at end; "
                    "every 1000 steps:",
                    startKb, warmKb_, WarmUpSteps, endKb);
        for (const long kilobytes : trend_) {
            std::printf(" %ld", kilobytes);
        }
        std::printf(" kB; heap in use:");
        for (const long kilobytes : heapTrend_) {
            std::printf(" %ld", kilobytes);
        }
        std::printf(" kB\n");
        if (!failure_.isEmpty()) {
            std::printf("FAILED at step %ld (%s): %s\n", failedStep_, SoakKindName(step_.kind),
                        qPrintable(failure_));
        }
        std::fflush(stdout);
    }

    SoakOptions options_;
    SoakPlan plan_;
    SoakStep step_{SoakKind::ModeClick};
    QTemporaryDir folder_;
    std::map<std::uint32_t, SoakPanel> panels_;
    std::unique_ptr<TFormMain> main_;
    std::unique_ptr<TFormEdit> editor_;
    QElapsedTimer clock_;
    std::atomic<qint64> lastProgress_{0};
    std::atomic<bool> finished_{false};
    long stepIndex_ = 0;
    long failedStep_ = -1;
    long warmKb_ = 0;
    std::vector<long> trend_;
    std::vector<long> heapTrend_;
    bool busy_ = false;
    bool ending_ = false;
    bool closing_ = false;
    bool wasOpen_ = false;
    int messagesAtOpen_ = 0;
    bool reconnected_ = false;
    std::uint32_t openLocation_ = 0;
    int libraryErrorLeft_ = 0;
    int messages_ = 0;
    QString chosenFile_;
    QString failure_;
    std::map<std::string, int> faults_;
    std::map<std::string, long> checks_;
};

// Replays `steps` of the seed without `skipped` in a process of its own; true
// when a check still fails.
bool StillFails(std::uint64_t seed, long steps, const std::set<long>& skipped) {
    QStringList arguments{"--seed", QString::number(seed), "--steps", QString::number(steps)};
    QStringList skip;
    for (const long index : skipped) {
        skip << QString::number(index);
    }
    if (!skip.isEmpty()) {
        arguments << "--skip" << skip.join(',');
    }
    QProcess replay;
    replay.start(QCoreApplication::applicationFilePath(), arguments);
    return replay.waitForFinished(600000) && replay.exitStatus() == QProcess::NormalExit &&
           replay.exitCode() != 0;
}

// Leaves out as many steps as it can while the run still fails, within a time
// budget, and prints the command that replays what is left.
void Shrink(std::uint64_t seed, long failedStep) {
    const long steps = failedStep + 1;
    std::set<long> skipped;
    QElapsedTimer budget;
    budget.start();
    for (long chunk = std::max(1L, steps / 2); chunk >= 1 && budget.elapsed() < 300000;
         chunk /= 2) {
        for (long first = 0; first < failedStep && budget.elapsed() < 300000; first += chunk) {
            std::set<long> trial = skipped;
            for (long index = first; index < std::min(first + chunk, failedStep); ++index) {
                trial.insert(index);
            }
            if (trial.size() != skipped.size() && StillFails(seed, steps, trial)) {
                skipped = trial;
            }
        }
        if (chunk == 1) {
            break;
        }
    }
    QStringList skip;
    for (const long index : skipped) {
        skip << QString::number(index);
    }
    std::printf("shortest failing run found: %ld of %ld steps\nreplay: scripts/soak --replay "
                "%llu %ld%s%s\n",
                steps - long(skipped.size()), steps, static_cast<unsigned long long>(seed), steps,
                skip.isEmpty() ? "" : " ", qPrintable(skip.join(',')));
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("QUVO-8261 Settings soak");
    SoakOptions options;
    options.seed = std::uint64_t(QDateTime::currentMSecsSinceEpoch());
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
        const QString& name = arguments[i];
        const QString& value = arguments[i + 1];
        if (name == "--seed") {
            options.seed = value.toULongLong();
        } else if (name == "--seconds") {
            options.seconds = value.toDouble();
        } else if (name == "--steps") {
            options.steps = value.toLong();
        } else if (name == "--skip") {
            for (const QString& index : value.split(',', Qt::SkipEmptyParts)) {
                options.skipped.insert(index.toLong());
            }
        }
    }
    if (options.seconds <= 0 && options.steps <= 0) {
        std::fprintf(stderr, "usage: quvo_soak --seconds S [--seed N] | --seed N --steps K "
                             "[--skip I,J,...]\n");
        return 2;
    }
    long failedStep = -1;
    int code = 0;
    {
        Soak soak(options);
        code = soak.Run();
        failedStep = soak.FailedStep();
    }
    if (code == 1 && options.steps == 0 && failedStep >= 0) {
        std::printf("shrinking the failing run of seed %llu...\n",
                    static_cast<unsigned long long>(options.seed));
        std::fflush(stdout);
        Shrink(options.seed, failedStep);
    }
    return code;
}
