// SPDX-License-Identifier: Apache-2.0
// The editor window's composition: its parts in their places, their signals
// routed to the model, every control usable as the model's mode allows, and
// closing.
#include "editor/UnitGPI.h"

#include "editor/ChannelStrip.h"
#include "editor/CommandColumn.h"
#include "editor/ControlPanel.h"
#include "editor/EditorControls.h"
#include "editor/EditorGeometry.h"
#include "editor/EditorLook.h"
#include "editor/LegendColumn.h"
#include "editor/MemoryMapView.h"
#include "editor/StripMenus.h"
#include "link/ThreadHandOff.h"
#include "ui/ControlText.h"
#include "ui/EventLoopWait.h"
#include "ui/Panel.h"
#include "ui/ProgramIcon.h"
#include "ui/ScreenColour.h"
#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

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
    connect(legend_, &LegendColumn::BackgroundClicked, this, &TFormEdit::PanNClick);
    connect(legend_, &LegendColumn::KeyLockToggled, this,
            [this](bool installed) { Post(model_.SetKeyLock(installed)); });
    connect(legend_, &LegendColumn::BrightnessMenuOpening, menus_, &StripMenus::AimBrightnessMenu);
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        ChannelStrip* strip = strips_[std::size_t(channel)];
        connect(strip, &ChannelStrip::BackgroundClicked, this, &TFormEdit::PanNClick);
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
    connect(controlPanel_, &ControlPanel::BackgroundClicked, this, &TFormEdit::PanNClick);
    connect(controlPanel_, &ControlPanel::KeyFunctionChosen, this,
            [this](int key, int function) { Post(model_.SetKeyFunction(key, function)); });
    connect(controlPanel_, &ControlPanel::RestoreOnPowerUpToggled, this,
            [this](bool restore) { Post(model_.SetRestoreOnPowerUp(restore)); });
    connect(controlPanel_, &ControlPanel::DoubleClicked, this, &TFormEdit::PanTempDblClick);
    connect(commands_, &CommandColumn::BackgroundClicked, this, &TFormEdit::PanNClick);
    connect(commands_, &CommandColumn::DoubleClicked, this, &TFormEdit::PanTempDblClick);
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

const QImage& TFormEdit::MemoryMapImage() const {
    return memoryMap_->Image();
}

std::pair<int, int> TFormEdit::MemoryHover() const {
    return memoryMap_->Hover();
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
