// SPDX-License-Identifier: Apache-2.0
// The editor window: its parts composed in their places, what they report
// routed to the model, every control usable as the model's mode allows, the
// link's replies drawn, the panel test run step by step, the Load and Save
// menus, the keyboard, and closing.
#include "editor/UnitGPI.h"

#include "editor/ChannelStrip.h"
#include "editor/CommandColumn.h"
#include "editor/ComparedValues.h"
#include "editor/ControlPanel.h"
#include "editor/EditorControls.h"
#include "editor/EditorGeometry.h"
#include "editor/EditorLook.h"
#include "editor/LegendColumn.h"
#include "editor/MemoryMapView.h"
#include "editor/PopupEscapeFilter.h"
#include "editor/SettingsFileDialogs.h"
#include "editor/StripMenus.h"
#include "link/LinkFailureText.h"
#include "link/ThreadHandOff.h"
#include "link/WireProtocol.h"
#include "model/ProgramPaths.h"
#include "model/RegularFile.h"
#include "model/SettingsFiles.h"
#include "ui/ControlText.h"
#include "ui/Dialogs.h"
#include "ui/EventLoopWait.h"
#include "ui/FocusOrder.h"
#include "ui/Panel.h"
#include "ui/ProgramIcon.h"
#include "ui/ScreenColour.h"
#include "ui/WindowPlacement.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <stdexcept>
#include <thread>

using namespace EditorGeometry;

TFormEdit::TFormEdit(bool testButtonShown, QWidget* parent) : QDialog(parent) {
    setObjectName("FormEdit");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                   Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    setWindowIcon(ProgramIcon());
    // Closing the editor returns to the device list; it never ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    TimerBtns = new QTimer(this);
    TimerBtns->setObjectName("TimerBtns");
    TimerBtns->setInterval(50);
    TimerTest = new QTimer(this);
    TimerTest->setObjectName("TimerTest");
    TimerTest->setInterval(10);
    testPause_ = [](std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); };

    BuildParts(testButtonShown);
    ConnectParts();
    ConnectKeyboard();
    deviceThread_ = std::make_unique<TDeviceThread>(this);
    ShowMode();
}

TFormEdit::~TFormEdit() {
    model_.ClearTestScript();
    deviceThread_.reset(); // stops a thread that still runs
}

void TFormEdit::BuildParts(bool testButtonShown) {
    setAutoFillBackground(true);
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, QColorFromScreen(WindowColour));
    windowPalette.setColor(QPalette::WindowText, Qt::white);
    // Disabled check boxes look disabled: grey text on the grey window.
    windowPalette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0xA8, 0xA8, 0xA8));
    setPalette(windowPalette);
    setFont(PixelFont("Tahoma", 11));

    // The controls keep their places on a canvas, which scrolls where the
    // screen is smaller than the editor.
    scrollArea_ = new QScrollArea(this);
    scrollArea_->setObjectName("EditorScroll");
    scrollArea_->setFrameShape(QFrame::NoFrame);
    // The controls take the focus, not their container.
    scrollArea_->setFocusPolicy(Qt::NoFocus);
    canvas_ = new QWidget;
    canvas_->setObjectName("EditorCanvas");
    canvas_->setAutoFillBackground(true);
    canvas_->setFixedWidth(CanvasWidth);
    scrollArea_->setWidget(canvas_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scrollArea_);

    menus_ = new StripMenus(model_, this);
    PanBack = MakePanel(canvas_, "PanBack", QRect(0, 0, ChannelAreaWidth, ChannelAreaHeight));
    legend_ = new LegendColumn(menus_->BrightnessMenu(), PanBack);
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        strips_[std::size_t(channel)] = new ChannelStrip(channel, menus_->ColourMenu(), PanBack);
    }
    controlPanel_ = new ControlPanel(canvas_);
    commands_ = new CommandColumn(testButtonShown, canvas_);
    const int stripsRight = LegendWidth + ChannelCount * StripWidth;
    memoryMap_ =
        new MemoryMapView(model_, ChannelAreaWidth, stripsRight - LegendButtonsLeft - 2,
                          legend_->StateButtonsRight(), legend_->GroupRowHeight(), canvas_);
    memoryMap_->move(0, ChannelAreaHeight);
    SetCanvasHeight(ChannelAreaHeight);
}

void TFormEdit::ConnectParts() {
    connect(PanBack, &Panel::Clicked, this, &TFormEdit::PanNClick);
    connect(legend_, &Panel::Clicked, this, &TFormEdit::PanNClick);
    connect(legend_, &LegendColumn::KeyLockToggled, this,
            [this](bool installed) { Post(model_.SetKeyLock(installed)); });
    connect(legend_, &LegendColumn::BrightnessMenuOpening, menus_, &StripMenus::AimBrightnessMenu);
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        ChannelStrip* strip = strips_[std::size_t(channel)];
        connect(strip, &Panel::Clicked, this, &TFormEdit::PanNClick);
        connect(strip, &ChannelStrip::GpioPressed, this, &TFormEdit::PressGpio);
        connect(strip, &ChannelStrip::GpioReleased, this, &TFormEdit::ReleaseHeldGpio);
        connect(strip, &ChannelStrip::ModeChosen, this, &TFormEdit::ChooseMode);
        connect(strip, &ChannelStrip::GroupChosen, this,
                [this](int source, int group) { Post(model_.SetGroup(source, group)); });
        connect(strip, &ChannelStrip::DurationStepped, this,
                [this](int source, int tenths) { Post(model_.SetDuration(source, tenths)); });
        connect(strip, &ChannelStrip::ModeMenuRequested, menus_, &StripMenus::OpenModeMenu);
        connect(strip, &ChannelStrip::DurationMenuRequested, menus_, &StripMenus::OpenDurationMenu);
        connect(strip, &ChannelStrip::ColourMenuOpening, menus_, &StripMenus::AimColourMenu);
        connect(strip, &ChannelStrip::ColourCopyMenuRequested, menus_, &StripMenus::OpenCopyMenu);
    }
    connect(menus_, &StripMenus::ModeToAll, this, &TFormEdit::PropagateMode);
    connect(menus_, &StripMenus::DurationToAll, this, &TFormEdit::PropagateDuration);
    connect(menus_, &StripMenus::ColourChosen, this, &TFormEdit::ChooseColour);
    connect(menus_, &StripMenus::ColoursCopied, this,
            [this](int source, int state, bool allStates, bool sameGroupOnly) {
                Post(model_.CopyColours(state, source, allStates, sameGroupOnly));
            });
    connect(menus_, &StripMenus::BrightnessChosen, this, [this](int state, int level) {
        Post(model_.SetBrightnessForAll(state, std::uint8_t(level)));
    });
    connect(controlPanel_, &Panel::Clicked, this, &TFormEdit::PanNClick);
    connect(controlPanel_, &ControlPanel::KeyFunctionChosen, this,
            [this](int key, int function) { Post(model_.SetKeyFunction(key, function)); });
    connect(controlPanel_, &ControlPanel::RestoreOnPowerUpToggled, this,
            [this](bool restore) { Post(model_.SetRestoreOnPowerUp(restore)); });
    connect(controlPanel_, &Panel::DoubleClicked, this, &TFormEdit::PanTempDblClick);
    connect(commands_, &Panel::Clicked, this, &TFormEdit::PanNClick);
    connect(commands_, &Panel::DoubleClicked, this, &TFormEdit::PanTempDblClick);
    connect(commands_, &CommandColumn::CloseClicked, this, &TFormEdit::BtnCloseClick);
    connect(commands_, &CommandColumn::OffClicked, this, &TFormEdit::BtnOffClick);
    connect(commands_, &CommandColumn::TestClicked, this, &TFormEdit::BtnTestClick);
    connect(commands_, &CommandColumn::MemoryClicked, this, &TFormEdit::BtnMemClick);
    connect(commands_, &CommandColumn::InputChosen, this, &TFormEdit::ChooseInput);
    connect(commands_, &CommandColumn::LoadMenuOpening, this, &TFormEdit::ShowHistoryItems);
    connect(memoryMap_, &MemoryMapView::CellToggled, this, &TFormEdit::ToggleMemoryCell);
    connect(TimerBtns, &QTimer::timeout, this, &TFormEdit::TimerBtnsTimer);
    connect(TimerTest, &QTimer::timeout, this, &TFormEdit::TimerTestTimer);
}

void TFormEdit::SetTestPause(std::function<void(std::chrono::milliseconds)> pause) {
    testPause_ = std::move(pause);
}

void TFormEdit::SetChannelMask(const QString& maskText) {
    model_.SetChannelMask(maskText.toStdString());
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        strips_[std::size_t(channel)]->SetPresent(model_.ChannelPresent()[channel]);
    }
}

void TFormEdit::ShowMode() {
    const auto decide = [this](EditorInput input) { return model_.Decide(input); };
    const bool editable = !decide(EditorInput::Edit).Refused();
    const bool pressable = !decide(EditorInput::GpioPress).Refused();
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        strips_[std::size_t(channel)]->SetUsable(editable, pressable);
    }
    legend_->SetEditable(editable);
    controlPanel_->SetEditable(editable);
    commands_->ShowAnswers(decide);
    commands_->ShowTestRunning(model_.TestRunning());
    if (model_.Online()) {
        TimerBtns->start();
    } else {
        TimerBtns->stop();
    }
}

void TFormEdit::GoOffline() {
    TimerTest->stop();
    model_.GoOffline();
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        strips_[std::size_t(channel)]->ShowOffline();
    }
    legend_->ShowOffline();
    controlPanel_->ShowOffline();
    memoryMap_->ClearMemoryHover();
    memoryMap_->RefreshMemoryMap();
    ShowMode();
}

void TFormEdit::SetPanelSerial(const QString& serial) {
    model_.SetPanelSerial(serial.toStdString());
}

void TFormEdit::StartLink() {
    model_.LinkStarted();
    ShowMode();
    deviceThread_->Start();
}

void TFormEdit::TimerBtnsTimer() {
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        strips_[std::size_t(channel)]->KeepModeFaces();
    }
}

void TFormEdit::PanNClick() {
    legend_->ChannelNumbers()->setFocus(Qt::MouseFocusReason);
}

void TFormEdit::PanTempDblClick(Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::ControlModifier) {
        commands_->ShowTestButton();
    }
}

void TFormEdit::BtnMemClick() {
    const bool shown = !model_.MemoryMapShown();
    model_.SetMemoryMapShown(shown);
    if (shown) {
        const QRect workArea = screen()->availableGeometry();
        const QRect frame = frameGeometry();
        const int heightBefore = height();
        const int canvasHeight = memoryMap_->y() + memoryMap_->height();
        commands_->ShowMemoryMapShown(true, canvasHeight);
        SetCanvasHeight(canvasHeight);
        const int top = TopAfterGrowing(frame.y(), frame.height(), height() - heightBefore,
                                        workArea.y(), workArea.y() + workArea.height());
        if (top != frame.y()) {
            move(frame.x(), top);
        }
        memoryMap_->show();
    } else {
        memoryMap_->hide();
        SetCanvasHeight(ChannelAreaHeight);
        commands_->ShowMemoryMapShown(false, ChannelAreaHeight);
    }
}

void TFormEdit::SetCanvasHeight(int height) {
    canvas_->setFixedHeight(height);
    FitToWorkArea(screen()->availableGeometry());
}

void TFormEdit::FitToWorkArea(const QRect& workArea) {
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
    setFixedSize(ScrolledWindowSize(canvas_->size(), workArea.size() - frame,
                                    style()->pixelMetric(QStyle::PM_ScrollBarExtent)));
}

void TFormEdit::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Only a shown window knows its frame and its screen.
    FitToWorkArea(screen()->availableGeometry());
}

void TFormEdit::done(int result) {
    const bool testing = model_.TestRunning();
    // A second close (the window's own button while the first waits) waits for the first.
    if (!model_.BeginClosing()) {
        return;
    }
    ShowMode();
    // Nothing of the test is left to run, and a pause step would freeze the device
    // list window. Closed during the test, the editor asks as STOP does, and waits
    // below for the restore to reach the panel.
    if (testing) {
        EndPanelTest();
        OfferConfigurationBeforeTest();
    }
    model_.ClearTestScript();
    ReleaseHeldGpio();
    FinishPendingWork();
    QDialog::done(result);
}

void TFormEdit::FinishPendingWork() {
    // A panel that stops answering ends the link within its 2000 ms read time-out,
    // which takes the editor offline; the limit only guards against a stuck link.
    constexpr int LimitMs = 5000;
    ProcessEventsUntil(
        [this] {
            return !model_.Online() || (model_.Settled() && deviceThread_->AllPostedAnswered());
        },
        LimitMs);
}

void TFormEdit::BtnCloseClick() {
    reject();
}

void TFormEdit::EscapePressed() {
    QWidget* popup = QApplication::activePopupWidget();
    if (escapeClosesPopup_ || popup != nullptr) {
        escapeClosesPopup_ = false;
        if (popup != nullptr) {
            popup->close();
        }
        return;
    }
    BtnCloseClick();
}

void TFormEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        EscapePressed();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFormEdit::event(QEvent* event) {
    HandOffAcquire(event); // the link thread's events come through Qt's queue
    if (event->type() == QEvent::Type(MsgLinkReply)) {
        const auto* reply = static_cast<LinkReplyEvent*>(event);
        MsgLinkReplyHandler(reply->ReplyCode(), reply->Payload());
        return true;
    }
    if (event->type() == QEvent::Type(MsgLinkEnded)) {
        MsgLinkEndedHandler();
        return true;
    }
    if (event->type() == QEvent::WindowDeactivate) {
        ReleaseHeldGpio();
    }
    return QDialog::event(event);
}

void TFormEdit::MsgLinkReplyHandler(std::uint8_t replyCode,
                                    const std::vector<std::uint8_t>& payload) {
    const bool wasOnline = model_.Online();
    const EditorModel::ReplyOutcome outcome = model_.ReceiveReply(replyCode, payload);
    if (outcome.configurationApplied) {
        ShowConfiguration();
    }
    if (!wasOnline && model_.Online()) {
        EditingStarted();
    }
    ShowStatus(outcome.status);
    Post(outcome.post);
}

void TFormEdit::Post(const PostedBlock& block) {
    if (block) {
        deviceThread_->PostWriteConfig(*block);
    }
}

void TFormEdit::ApplyConfiguration(const ConfigBlock& block) {
    const bool wasOnline = model_.Online();
    model_.ApplyConfiguration(block);
    ShowConfiguration();
    if (!wasOnline) {
        EditingStarted();
    }
}

void TFormEdit::EditingStarted() {
    ShowMode();
    // Questions wait until the reply that brought the configuration is handled.
    if (model_.HasInterruptedTest()) {
        QTimer::singleShot(0, this, &TFormEdit::OfferConfigurationBeforeInterruptedTest);
    }
    // Once the panel's configuration is on screen.
    if (!offeredFile_.isEmpty()) {
        QTimer::singleShot(0, this, &TFormEdit::CompareWithOfferedFile);
    }
}

void TFormEdit::ShowModes() {
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        strips_[std::size_t(channel)]->ShowMode(model_.Mode(channel));
    }
}

void TFormEdit::ShowDurations() {
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        strips_[std::size_t(channel)]->ShowDuration(model_.DurationTenths(channel));
    }
}

void TFormEdit::ShowConfiguration() {
    const ConfigBlock& block = model_.Configuration();
    controlPanel_->ShowRestoreOnPowerUp(block[ConfigSAVE] != 0);
    legend_->ShowKeyLock(block[ConfigLOCK] != 0);
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        ChannelStrip* strip = strips_[std::size_t(channel)];
        strip->ShowMode(model_.Mode(channel));
        strip->ShowGroup(model_.Group(channel));
        strip->ShowDuration(model_.DurationTenths(channel));
        strip->ShowColours({model_.Colour(0, channel), model_.Colour(1, channel),
                            model_.Colour(2, channel), model_.Colour(3, channel)});
    }
    for (int state = 0; state < 4; ++state) {
        const QString brightness = QCoreApplication::translate(
            "UnitProcs", BrightnessText(model_.Colour(state, 1).Brightness).c_str());
        legend_->ShowBrightness(state, block[ColourOffset(1, state) + ColourIntensity], brightness);
    }
    controlPanel_->ShowFunctions(block[ConfigMODE17], block[ConfigMODE18]);
    memoryMap_->RefreshMemoryMap();
}

void TFormEdit::ShowStatus(const StatusBlock& status) {
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        const std::uint8_t state = status[StatusStateOffset(channel)];
        strips_[std::size_t(channel)]->ShowState(state,
                                                 model_.Colour(state & 3, channel).DisplayColor);
    }
    controlPanel_->ShowKeyStates(status[StatusSTATE17], status[StatusSTATE18]);
    legend_->ShowLockState(status[StatusLOCKSTATE] != 0);
}

void TFormEdit::SendConfiguration() {
    Post(model_.RequestSend());
}

void TFormEdit::MsgLinkEndedHandler() {
    // The link may end while the editor sends its last edits; it closes then.
    const bool closing = model_.CurrentMode() == EditorMode::Closing;
    GoOffline();
    const TLinkOutcome& link = deviceThread_->Outcome();
    if (!link.StoppedOnRequest && link.LinkResult != LinkOk) {
        const std::string text = LinkFailureText(link.LinkResult, link.IoStatus, link.ErrorByte,
                                                 link.LastCommand, link.LastReply);
        Dialogs::ShowMessage(this, QString::fromStdString(text), tr("Error"),
                             Dialogs::Icon::Warning);
    }
    if (!closing) {
        reject();
    }
}

void TFormEdit::PressGpio(int channel) {
    for (const GpioCommand& command : model_.PressGpio(channel)) {
        deviceThread_->PostSetGpio(std::uint8_t(command.channel), std::uint8_t(command.state));
    }
}

void TFormEdit::ReleaseHeldGpio() {
    if (const std::optional<GpioCommand> release = model_.ReleaseGpio()) {
        deviceThread_->PostSetGpio(std::uint8_t(release->channel), 0);
    }
}

void TFormEdit::BtnOffClick() {
    if (model_.Decide(EditorInput::GpioOff).Accepted()) {
        deviceThread_->PostGpioOff();
    }
}

void TFormEdit::ChooseMode(int channel, int mode) {
    Post(model_.SetMode(channel, mode));
}

// The mode of the button the menu was opened on, to every channel or to those of
// its group; one send.
void TFormEdit::PropagateMode(int channel, int mode, bool sameGroupOnly) {
    Post(model_.SetModeForAll(channel, mode, sameGroupOnly));
    ShowModes();
}

// The duration of the field the menu was opened on, to every channel in Pulse
// mode or to those of its group; one send.
void TFormEdit::PropagateDuration(int channel, bool sameGroupOnly) {
    Post(model_.SetDurationForAll(channel, sameGroupOnly));
    ShowDurations();
}

void TFormEdit::ChooseColour(int channel, int state, int slot) {
    if (model_.Decide(EditorInput::Edit).Refused() || state < 0 || state > 3 || channel < 1 ||
        channel > ChannelCount) {
        return;
    }
    ScreenColour custom = 0;
    if (slot == CustomSlot) {
        const std::optional<QColor> chosen = Dialogs::ChooseColour(
            this, QColorFromScreen(model_.Colour(state, channel).ScreenColor));
        if (!chosen) {
            return;
        }
        custom = ScreenFromQColor(*chosen);
    }
    Post(model_.SetColour(state, channel, slot, custom));
}

void TFormEdit::ToggleMemoryCell(int row, int column) {
    const PostedBlock block = model_.ToggleMemoryCell(row, column);
    memoryMap_->RefreshMemoryMap();
    Post(block);
}

void TFormEdit::ChooseInput(EditorInput input) {
    using enum EditorInput;
    static const std::map<EditorInput, Handler> items = {
        {LoadFile, &TFormEdit::MenuLoadFileClick},
        {LoadDefault, &TFormEdit::MenuLoadDefaultClick},
        {LoadFactory, &TFormEdit::MenuLoadFactoryClick},
        {SaveFile, &TFormEdit::MenuSaveFileClick},
        {SaveDefault, &TFormEdit::MenuSaveDefaultClick},
        {Compare, &TFormEdit::MenuCompareClick},
        {Undo, &TFormEdit::MenuUndoClick},
        {Redo, &TFormEdit::MenuRedoClick},
        {Revert, &TFormEdit::MenuRevertClick},
    };
    if (const auto item = items.find(input); item != items.end()) {
        (this->*item->second)();
    }
}

void TFormEdit::RunTestStep(const TestStep& step) {
    switch (step.Kind) {
    case TestStepKind::Pause:
        testPause_(step.Pause);
        break;
    case TestStepKind::SetGpio:
        deviceThread_->PostSetGpio(step.Channel, step.State != 0 ? 1 : 0);
        break;
    case TestStepKind::WriteConfig:
        deviceThread_->PostWriteConfig(step.Block);
        break;
    case TestStepKind::GpioOff:
        deviceThread_->PostGpioOff();
        break;
    }
}

void TFormEdit::BtnTestClick() {
    if (model_.TestRunning()) {
        FinishPanelTest();
        return;
    }
    if (!model_.StartTest()) {
        return;
    }
    TimerTest->start();
    ShowMode();
}

void TFormEdit::EndPanelTest() {
    TimerTest->stop();
    // The script may have stopped between a press and its release, and an edit
    // made during the test may have switched an output on.
    if (model_.Online()) {
        deviceThread_->PostGpioOff();
    }
}

void TFormEdit::FinishPanelTest() {
    if (!model_.TestRunning()) {
        return;
    }
    model_.EndTest();
    EndPanelTest();
    ShowMode();
    OfferConfigurationBeforeTest();
}

void TFormEdit::TimerTestTimer() {
    TimerTest->stop();
    if (model_.TestStepsLeft() == 0) {
        FinishPanelTest();
        return;
    }
    if (const std::optional<TestStep> step = model_.NextTestStep()) {
        RunTestStep(*step);
    }
    TimerTest->start();
}

void TFormEdit::SendLoadedBlock(const ConfigBlock& block, const QString& name) {
    deviceThread_->PostWriteConfig(model_.LoadBlock(block, name));
}

void TFormEdit::ReportingFileErrors(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const std::exception& error) {
        Dialogs::ShowMessage(this, QString::fromStdString(error.what()), tr("Error"),
                             Dialogs::Icon::Error);
    }
}

void TFormEdit::MenuLoadFileClick() {
    if (model_.Decide(EditorInput::LoadFile).Refused()) {
        return;
    }
    ReportingFileErrors([&] {
        SettingsFileContent file{model_.Configuration(), {}};
        LoadSettingsFile(this, file);
        // Also after a cancel: the panel then gets its own configuration again.
        SendLoadedBlock(file.block, tr("Load from File"));
    });
}

void TFormEdit::MenuLoadDefaultClick() {
    if (model_.Decide(EditorInput::LoadDefault).Refused() ||
        !Dialogs::Confirm(this, tr("Load Default values?"))) {
        return;
    }
    ReportingFileErrors([&] {
        ConfigBlock block = model_.Configuration();
        LoadDefaultValues(block, CurrentPaths().programSettingsFile);
        SendLoadedBlock(block, tr("Load Default values"));
    });
}

void TFormEdit::MenuLoadFactoryClick() {
    if (model_.Decide(EditorInput::LoadFactory).Refused() ||
        !Dialogs::Confirm(this, tr("Load Factory settings?"))) {
        return;
    }
    ConfigBlock block;
    LoadFactoryValues(block);
    SendLoadedBlock(block, tr("Load Factory Settings"));
}

void TFormEdit::MenuSaveFileClick() {
    if (model_.Decide(EditorInput::SaveFile).Refused()) {
        return;
    }
    ReportingFileErrors([&] { SaveSettingsFile(this, model_.Configuration()); });
}

void TFormEdit::MenuSaveDefaultClick() {
    if (model_.Decide(EditorInput::SaveDefault).Refused() ||
        !Dialogs::Confirm(this, tr("Overwrite Default values?"))) {
        return;
    }
    ReportingFileErrors(
        [&] { SaveDefaultValues(model_.Configuration(), CurrentPaths().programSettingsFile); });
}

void TFormEdit::ShowHistoryItems() {
    const EditHistory& history = model_.History();
    commands_->ShowHistoryNames(history.CanUndo() ? history.NextUndo().name : QString(),
                                history.CanRedo() ? history.NextRedo().name : QString());
    commands_->ShowAnswers([this](EditorInput input) { return model_.Decide(input); });
}

void TFormEdit::MenuUndoClick() {
    Post(model_.Undo());
}

void TFormEdit::MenuRedoClick() {
    Post(model_.Redo());
}

void TFormEdit::MenuRevertClick() {
    Post(model_.Revert());
}

void TFormEdit::MenuCompareClick() {
    if (model_.Decide(EditorInput::Compare).Refused()) {
        return;
    }
    ReportingFileErrors([&] {
        SettingsFileContent file;
        // A file without settings is no file to compare with, nor to load.
        if (const std::optional<QString> path = LoadSettingsFile(this, file, true)) {
            OfferDifferences(*path, file);
        }
    });
}

void TFormEdit::OfferFileWhenOnline(QString path) {
    offeredFile_ = std::move(path);
}

void TFormEdit::CompareWithOfferedFile() {
    if (model_.Decide(EditorInput::Compare).Refused() || offeredFile_.isEmpty()) {
        return;
    }
    ReportingFileErrors([&] {
        OfferDifferences(offeredFile_, ReadSettingsFileContent(FilePath(offeredFile_), true));
    });
}

void TFormEdit::OfferDifferences(const QString& path, const SettingsFileContent& file) {
    const QStringList lines = ComparedLines(model_.Configuration(), file.block, file.outOfRange);
    if (Dialogs::ShowDifferences(this, DisplayName(FilePath(path)), lines)) {
        SendLoadedBlock(file.block, tr("Load from File"));
    }
}

void TFormEdit::OfferConfigurationBeforeInterruptedTest() {
    if (model_.HasInterruptedTest() && !model_.Decide(EditorInput::Edit).Refused()) {
        Post(model_.RestoreInterruptedTest(Dialogs::Confirm(
            this, tr("The link to this panel ended during the panel test. Restore the "
                     "configuration from before the test?"))));
    }
}

void TFormEdit::OfferConfigurationBeforeTest() {
    if (!model_.Decide(EditorInput::RestoreBeforeTest).Refused() &&
        Dialogs::Confirm(this, tr("Restore the configuration from before the test?"))) {
        Post(model_.RestoreBeforeTest());
    }
}

void TFormEdit::AddWindowKeys(std::initializer_list<std::pair<QKeySequence, Handler>> keys) {
    for (const auto& [key, handler] : keys) {
        auto* shortcut = new QShortcut(key, this);
        // From every control of the window, the group boxes and duration fields too.
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, handler);
    }
}

void TFormEdit::ConnectKeyboard() {
    AddWindowKeys({
        // As the menu items, and only while the model takes them.
        {QKeySequence(Qt::CTRL | Qt::Key_O), &TFormEdit::MenuLoadFileClick},
        {QKeySequence(Qt::CTRL | Qt::Key_S), &TFormEdit::MenuSaveFileClick},
        {QKeySequence(Qt::CTRL | Qt::Key_W), &TFormEdit::BtnCloseClick},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T), &TFormEdit::ShowTestButton},
        {QKeySequence(Qt::SHIFT | Qt::Key_F10), &TFormEdit::OpenFocusedContextMenu},
        {QKeySequence(Qt::Key_Menu), &TFormEdit::OpenFocusedContextMenu},
        {QKeySequence::Undo, &TFormEdit::MenuUndoClick},
        {QKeySequence("Ctrl+Shift+Z"), &TFormEdit::MenuRedoClick},
        {QKeySequence("Ctrl+Y"), &TFormEdit::MenuRedoClick},
    });
    // The window sees Escape before any control does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &TFormEdit::EscapePressed);
    qApp->installEventFilter(new PopupEscapeFilter(this, escapeClosesPopup_));
    CollectTabOrder();
}

void TFormEdit::ShowTestButton() {
    PanTempDblClick(Qt::ControlModifier);
}

void TFormEdit::OpenFocusedContextMenu() {
    QWidget* focused = focusWidget();
    if (focused == nullptr || !focused->isVisible()) {
        return;
    }
    const QPoint centre = focused->rect().center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, centre, focused->mapToGlobal(centre));
    QApplication::sendEvent(focused, &request);
}

void TFormEdit::CollectTabOrder() {
    std::vector<QWidget*> strips = legend_->FocusableControls();
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        const std::vector<QWidget*> controls = strips_[std::size_t(channel)]->FocusableControls();
        strips.insert(strips.end(), controls.begin(), controls.end());
    }
    const std::vector<QWidget*> areas[] = {strips,
                                           controlPanel_->FocusableControls(),
                                           commands_->FocusableControls(),
                                           {memoryMap_->Map()}};
    for (const std::vector<QWidget*>& controls : areas) {
        std::vector<QRect> places;
        for (const QWidget* control : controls) {
            places.emplace_back(control->mapTo(canvas_, QPoint(0, 0)), control->size());
        }
        for (const int index : ReadingOrder(places)) {
            tabOrder_.push_back(controls[std::size_t(index)]);
        }
    }
}

// Qt's own focus chain follows the order the controls were made in, which is
// column by column; Tab follows the screen instead. A hidden part (the memory
// map) takes no focus.
bool TFormEdit::focusNextPrevChild(bool next) {
    std::vector<QWidget*> reachable;
    for (QWidget* control : tabOrder_) {
        if (control->isVisible() && control->isEnabled()) {
            reachable.push_back(control);
        }
    }
    if (reachable.empty()) {
        return QDialog::focusNextPrevChild(next);
    }
    QWidget* focused = focusWidget();
    if (focused != nullptr && qobject_cast<QAbstractSpinBox*>(focused->parentWidget())) {
        focused = focused->parentWidget();
    }
    const auto at = std::find(reachable.begin(), reachable.end(), focused);
    const int index = NextInTabOrder(at == reachable.end() ? -1 : int(at - reachable.begin()),
                                     int(reachable.size()), next);
    reachable[std::size_t(index)]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}
