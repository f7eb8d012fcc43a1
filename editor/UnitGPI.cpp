// SPDX-License-Identifier: Apache-2.0
#include "editor/UnitGPI.h"

#include "ui/ColourButton.h"
#include "ui/ColourLabel.h"
#include "ui/ControlText.h"
#include "ui/DurationField.h"
#include "ui/OwnerDrawnMenu.h"
#include "ui/PaintBox.h"
#include "ui/Panel.h"
#include "ui/ScreenColour.h"

#include "editor/EditorLook.h"
#include "link/ThreadHandOff.h"
#include "ui/EventLoopWait.h"
#include "ui/ProgramIcon.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>
#include <QTimer>

#include <thread>

namespace {

// Sees every key event of the program while the editor lives and remembers an
// Escape pressed while one of the editor's drop-downs, popups or menus was open.
// Qt closes that popup itself, and under X11 it does so before it runs the
// window's Escape shortcut, which must then leave the editor open.
class PopupEscapeFilter : public QObject {
public:
    PopupEscapeFilter(QWidget* editor, bool& popupWasOpen)
        : QObject(editor), editor_(editor), popupWasOpen_(popupWasOpen) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // This filter sees the link thread's events too, before the window does.
        HandOffAcquire(event);
        const QEvent::Type type = event->type();
        if ((type == QEvent::ShortcutOverride || type == QEvent::KeyPress) &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            // isAncestorOf stops at the popup's own window; the parents do not.
            for (const QWidget* owner = QApplication::activePopupWidget(); owner != nullptr;
                 owner = owner->parentWidget()) {
                if (owner == editor_) {
                    popupWasOpen_ = true;
                    break;
                }
            }
        } else if (type == QEvent::KeyRelease &&
                   static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            popupWasOpen_ = false;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* editor_;
    bool& popupWasOpen_;
};

} // namespace

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

    BuildLayout();
    FillStripTables();

    BtnTest->setVisible(testButtonShown);

    for (int state = 0; state < 4; ++state) {
        colourButtons_[state][0]->SetCaption(StateName(state));
    }
    findChild<Panel*>("PanDur")->SetCaption(tr("Duration\r\n(sec.)"));
    BtnOff->SetCaption(tr("GPIO\r\nSwitch off"));

    for (int channel = 1; channel <= ChannelCount; ++channel) {
        SetUpStrip(channel);
    }
    NameControls();

    ConnectHandlers();
    // The window sees Escape before any control does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &TFormEdit::EscapePressed);
    qApp->installEventFilter(new PopupEscapeFilter(this, escapeClosesPopup_));
    deviceThread_ = std::make_unique<TDeviceThread>(this);
}

void TFormEdit::SetUpStrip(int channel) {
    numberCells_[channel]->SetCaption(QString::number(channel));
    const QFont colourFont = PixelFont("Small Fonts", 8);
    for (int state = 0; state < 4; ++state) {
        ColourButton* button = colourButtons_[state][channel];
        button->setFont(colourFont);
        button->SetTextColour(0x00FFFFFF);
        button->SetFocusRectangle(false);
        button->setContextMenuPolicy(Qt::CustomContextMenu);
    }
    QComboBox* group = groupBoxes_[channel];
    group->clear();
    group->addItem(tr("n/a"));
    for (int number = 1; number <= ChannelCount; ++number) {
        group->addItem(QString(" %1").arg(number));
    }
    FitComboBoxItems(*group);
    gpioLabels_[channel]->SetCaption(tr("GPIO"));
    gpiLabels_[channel]->SetCaption(tr("GPI"));
    gpioLabels_[channel]->SetColours(WindowColour, WindowColour);
    gpiLabels_[channel]->SetColours(WindowColour, WindowColour);
    gpioButtons_[channel]->SetFocusRectangle(false);
    const QString modeCaptions[] = {tr("Free"), tr("Fixed"), tr("Pulse")};
    ColourButton* modeButtons[] = {freeButtons_[channel], fixedButtons_[channel],
                                   pulseButtons_[channel]};
    for (int mode = 0; mode < 3; ++mode) {
        modeButtons[mode]->SetCaption(modeCaptions[mode]);
        modeButtons[mode]->SetFaceColour(0x00FFFFFF);
        modeButtons[mode]->SetTextColour(0x00000000);
        modeButtons[mode]->setFont(PixelFont("Tahoma", 11));
        modeButtons[mode]->setContextMenuPolicy(Qt::CustomContextMenu);
    }
    durationFields_[channel]->SetValue(0.3);
    durationFields_[channel]->setContextMenuPolicy(Qt::CustomContextMenu);
}

void TFormEdit::SetTestPause(std::function<void(std::chrono::milliseconds)> pause) {
    testPause_ = std::move(pause);
}

TFormEdit::~TFormEdit() {
    model_.ClearTest();
    deviceThread_.reset(); // stops a thread that still runs
}

void TFormEdit::done(int result) {
    // The link may end while the last edit is being sent; it closes the editor then.
    if (closing_) {
        return;
    }
    closing_ = true;
    // Nothing of the test is left to run, and a pause step would freeze the device
    // list window. Closed during the test, the editor asks as STOP does, and waits
    // below for the restore to reach the panel.
    FinishPanelTest();
    model_.ClearTest();
    model_.BeginClosing();
    ReleaseHeldGpio();
    FinishPendingWork();
    closing_ = false;
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

void TFormEdit::FillStripTables() {
    for (int channel = 0; channel <= ChannelCount; ++channel) {
        const QString n = QString::number(channel);
        columns_[channel] = findChild<Panel*>("Pan" + n);
        SetTag(columns_[channel], channel);
        if (channel == 0) {
            continue;
        }
        numberCells_[channel] = findChild<Panel*>("PanCap" + n);
        gpioCells_[channel] = findChild<Panel*>("PanB" + n);
        gpioLabels_[channel] = findChild<ColourLabel*>("IndGPO" + n);
        gpiLabels_[channel] = findChild<ColourLabel*>("IndGPI" + n);
        gpioButtons_[channel] = findChild<ColourButton*>("BtnGPO" + n);
        groupBoxes_[channel] = findChild<QComboBox*>("BoxGrp" + n);
        freeButtons_[channel] = findChild<ColourButton*>("BtnAny" + n);
        fixedButtons_[channel] = findChild<ColourButton*>("BtnFix" + n);
        pulseButtons_[channel] = findChild<ColourButton*>("BtnPls" + n);
        durationFields_[channel] = findChild<DurationField*>("EditMs" + n);
        for (QObject* control : {static_cast<QObject*>(numberCells_[channel]),
                                 static_cast<QObject*>(gpioCells_[channel]),
                                 static_cast<QObject*>(gpioButtons_[channel]),
                                 static_cast<QObject*>(groupBoxes_[channel]),
                                 static_cast<QObject*>(freeButtons_[channel]),
                                 static_cast<QObject*>(durationFields_[channel])}) {
            SetTag(control, channel);
        }
        SetTag(fixedButtons_[channel], channel + 0x10000);
        SetTag(pulseButtons_[channel], channel + 0x20000);
        for (int state = 0; state < 4; ++state) {
            colourButtons_[state][channel] =
                findChild<ColourButton*>(ColourButtonName(state, channel));
            SetTag(colourButtons_[state][channel], channel + state * 0x10000);
        }
    }
    for (int state = 0; state < 4; ++state) {
        colourButtons_[state][0] = findChild<ColourButton*>(ColourButtonName(state, 0));
    }
}

void TFormEdit::ConnectHandlers() {
    for (Panel* panel : findChildren<Panel*>()) {
        connect(panel, &Panel::Clicked, this, &TFormEdit::PanNClick);
    }
    connect(BtnClose, &QPushButton::clicked, this, &TFormEdit::BtnCloseClick);
    ConnectChannelOperations();
    ConnectControlOptions();
    ConnectColourEditing();
    ConnectMemoryMap();
    ConnectSettingsFileMenus();
    ConnectHistory();
    ConnectKeyboard();
}

void TFormEdit::ConnectMenuItems(std::initializer_list<std::pair<const char*, Handler>> items) {
    for (const auto& [name, handler] : items) {
        connect(findChild<QAction*>(name), &QAction::triggered, this, handler);
    }
}

void TFormEdit::SetChannelMask(const QString& maskText) {
    model_.SetChannelMask(maskText.toStdString());
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        const bool present = model_.ChannelPresent()[channel];
        numberCells_[channel]->SetCaption(present ? QString::number(channel) : QString());
        QWidget* controls[] = {gpioLabels_[channel],   gpiLabels_[channel],
                               gpioButtons_[channel],  groupBoxes_[channel],
                               freeButtons_[channel],  fixedButtons_[channel],
                               pulseButtons_[channel], durationFields_[channel]};
        for (QWidget* control : controls) {
            control->setVisible(present);
        }
        for (int state = 0; state < 4; ++state) {
            colourButtons_[state][channel]->setVisible(present);
        }
    }
}

void TFormEdit::SetModeButtonsExclusive(bool exclusive) {
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        QButtonGroup* group = modeGroups_[channel];
        group->setExclusive(exclusive);
        if (!exclusive) {
            for (QAbstractButton* button : group->buttons()) {
                button->setChecked(false);
            }
        }
    }
}

void TFormEdit::GoOffline() {
    model_.GoOffline();

    SetModeButtonsExclusive(false);
    for (ColourButton* button : findChildren<ColourButton*>()) {
        if (button == BtnClose) {
            continue;
        }
        button->SetFaceColour(WindowColour);
        button->setEnabled(false);
    }
    BtnClose->setEnabled(true);

    for (int channel = 1; channel <= ChannelCount; ++channel) {
        gpioLabels_[channel]->SetColours(WindowColour, WindowColour);
        gpiLabels_[channel]->SetColours(WindowColour, WindowColour);
        {
            const QSignalBlocker blocker(groupBoxes_[channel]);
            groupBoxes_[channel]->setCurrentIndex(-1);
        }
        groupBoxes_[channel]->setEnabled(false);
        durationFields_[channel]->ClearText();
        durationFields_[channel]->setEnabled(false);
        for (int state = 0; state < 4; ++state) {
            colourButtons_[state][channel]->SetCaption(QString());
        }
    }
    BtnCtrl1->SetCaption(QString());
    BtnCtrl2->SetCaption(QString());
    for (int state = 0; state < 4; ++state) {
        colourButtons_[state][0]->SetCaption(StateName(state));
        indicators_[state]->update();
    }

    updating_ = true;
    for (QCheckBox* box : {BoxSave, BoxLock}) {
        box->setEnabled(false);
        box->setChecked(false);
    }
    updating_ = false;

    LabLock->hide();
    BtnTest->SetCaption(tr("TEST"));
    hoverRow_ = 0;
    hoverColumn_ = 0;
    RefreshMemoryMap();
}

void TFormEdit::StartLink() {
    model_.LinkStarted();
    deviceThread_->Start();
}

void TFormEdit::GoOnline() {
    for (ColourButton* button : findChildren<ColourButton*>()) {
        button->setEnabled(true);
    }
    SetModeButtonsExclusive(true);
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        groupBoxes_[channel]->setEnabled(true);
        durationFields_[channel]->setEnabled(true);
    }
    BtnCtrl1->SetFaceColour(0x00FFFFFF);
    BtnCtrl2->SetFaceColour(0x00FFFFFF);
    BoxSave->setEnabled(true);
    BoxLock->setEnabled(true);
    TimerBtns->start();
    RefreshMemoryMap();
    // Once the panel's configuration is on screen.
    if (!offeredFile_.isEmpty()) {
        QTimer::singleShot(0, this, &TFormEdit::CompareWithOfferedFile);
    }
}

void TFormEdit::PanNClick() {
    PanN->setFocus(Qt::MouseFocusReason);
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
