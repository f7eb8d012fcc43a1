#include "editor/UnitGPI.h"

#include "editor/EditorLook.h"
#include "link/ThreadHandOff.h"
#include "ui/EventLoopWait.h"
#include "ui/ProgramIcon.h"

#include "ui/Widgets.h"

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
    TestPause = [](std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); };

    BuildLayout();
    FillStripTables();

    BtnTest->setVisible(testButtonShown);

    for (int state = 0; state < 4; ++state) {
        ColourButtons[state][0]->SetCaption(StateNames[state]);
    }
    findChild<Panel*>("PanDur")->SetCaption("Duration\r\n(sec.)");
    BtnOff->SetCaption("GPIO\r\nSwitch off");

    const QFont colourFont = PixelFont("Small Fonts", 8);
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        NumberCells[channel]->SetCaption(QString::number(channel));
        for (int state = 0; state < 4; ++state) {
            ColourButton* button = ColourButtons[state][channel];
            button->setFont(colourFont);
            button->SetTextColour(0x00FFFFFF);
            button->SetFocusRectangle(false);
            button->setContextMenuPolicy(Qt::CustomContextMenu);
        }
        QComboBox* group = GroupBoxes[channel];
        group->clear();
        group->addItem("n/a");
        for (int number = 1; number <= ChannelCount; ++number) {
            group->addItem(QString(" %1").arg(number));
        }
        GpioLabels[channel]->SetCaption("GPIO");
        GpiLabels[channel]->SetCaption("GPI");
        GpioLabels[channel]->SetColours(WindowColour, WindowColour);
        GpiLabels[channel]->SetColours(WindowColour, WindowColour);
        GpioButtons[channel]->SetFocusRectangle(false);
        const char* const modeCaptions[] = {"Free", "Fixed", "Pulse"};
        ColourButton* modeButtons[] = {FreeButtons[channel], FixedButtons[channel],
                                       PulseButtons[channel]};
        for (int m = 0; m < 3; ++m) {
            modeButtons[m]->SetCaption(modeCaptions[m]);
            modeButtons[m]->SetFaceColour(0x00FFFFFF);
            modeButtons[m]->SetTextColour(0x00000000);
            modeButtons[m]->setFont(PixelFont("Tahoma", 11));
            modeButtons[m]->setContextMenuPolicy(Qt::CustomContextMenu);
        }
        DurationFields[channel]->SetValue(0.3);
        DurationFields[channel]->setContextMenuPolicy(Qt::CustomContextMenu);
    }

    ConnectHandlers();
    // The window sees Escape before any control does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &TFormEdit::EscapePressed);
    qApp->installEventFilter(new PopupEscapeFilter(this, escapeClosesPopup_));
    deviceThread_ = std::make_unique<TDeviceThread>(this);
}

TFormEdit::~TFormEdit() {
    ClearTestScript();
    deviceThread_.reset(); // stops a thread that still runs
}

void TFormEdit::done(int result) {
    // The link may end while the last edit is being sent; it closes the editor then.
    if (closing_) {
        return;
    }
    closing_ = true;
    // Nothing of the test is left to run, and a pause step would freeze the device
    // list window.
    EndPanelTest();
    ClearTestScript();
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
            return !Online ||
                   (!SendPending && ConfigReceived && deviceThread_->AllPostedAnswered());
        },
        LimitMs);
}

void TFormEdit::FillStripTables() {
    for (int channel = 0; channel <= ChannelCount; ++channel) {
        const QString n = QString::number(channel);
        Columns[channel] = findChild<Panel*>("Pan" + n);
        SetTag(Columns[channel], channel);
        if (channel == 0) {
            continue;
        }
        NumberCells[channel] = findChild<Panel*>("PanCap" + n);
        GpioCells[channel] = findChild<Panel*>("PanB" + n);
        GpioLabels[channel] = findChild<ColourLabel*>("IndGPO" + n);
        GpiLabels[channel] = findChild<ColourLabel*>("IndGPI" + n);
        GpioButtons[channel] = findChild<ColourButton*>("BtnGPO" + n);
        GroupBoxes[channel] = findChild<QComboBox*>("BoxGrp" + n);
        FreeButtons[channel] = findChild<ColourButton*>("BtnAny" + n);
        FixedButtons[channel] = findChild<ColourButton*>("BtnFix" + n);
        PulseButtons[channel] = findChild<ColourButton*>("BtnPls" + n);
        DurationFields[channel] = findChild<DurationField*>("EditMs" + n);
        for (QObject* control : {static_cast<QObject*>(NumberCells[channel]),
                                 static_cast<QObject*>(GpioCells[channel]),
                                 static_cast<QObject*>(GpioButtons[channel]),
                                 static_cast<QObject*>(GroupBoxes[channel]),
                                 static_cast<QObject*>(FreeButtons[channel]),
                                 static_cast<QObject*>(DurationFields[channel])}) {
            SetTag(control, channel);
        }
        SetTag(FixedButtons[channel], channel + 0x10000);
        SetTag(PulseButtons[channel], channel + 0x20000);
        for (int state = 0; state < 4; ++state) {
            ColourButtons[state][channel] =
                findChild<ColourButton*>(QString("BtnC%1_%2").arg(state).arg(channel));
            SetTag(ColourButtons[state][channel], channel + state * 0x10000);
        }
    }
    for (int state = 0; state < 4; ++state) {
        ColourButtons[state][0] = findChild<ColourButton*>(QString("BtnC%1").arg(state));
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
}

void TFormEdit::SetChannelMask(const QString& maskText) {
    ChannelPresent = ParseChannelMask(maskText.toStdString());
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        const bool present = ChannelPresent[channel];
        NumberCells[channel]->SetCaption(present ? QString::number(channel) : QString());
        QWidget* controls[] = {GpioLabels[channel],   GpiLabels[channel],     GpioButtons[channel],
                               GroupBoxes[channel],   FreeButtons[channel],   FixedButtons[channel],
                               PulseButtons[channel], DurationFields[channel]};
        for (QWidget* control : controls) {
            control->setVisible(present);
        }
        for (int state = 0; state < 4; ++state) {
            ColourButtons[state][channel]->setVisible(present);
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
    Online = false;
    ClearTestScript();

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
        GpioLabels[channel]->SetColours(WindowColour, WindowColour);
        GpiLabels[channel]->SetColours(WindowColour, WindowColour);
        {
            const QSignalBlocker blocker(GroupBoxes[channel]);
            GroupBoxes[channel]->setCurrentIndex(-1);
        }
        GroupBoxes[channel]->setEnabled(false);
        DurationFields[channel]->ClearText();
        DurationFields[channel]->setEnabled(false);
        for (int state = 0; state < 4; ++state) {
            ColourButtons[state][channel]->SetCaption(QString());
        }
    }
    BtnCtrl1->SetCaption(QString());
    BtnCtrl2->SetCaption(QString());
    for (int state = 0; state < 4; ++state) {
        ColourButtons[state][0]->SetCaption(StateNames[state]);
        Indicators[state]->update();
    }

    Updating = true;
    for (QCheckBox* box : {BoxSave, BoxLock}) {
        box->setEnabled(false);
        box->setChecked(false);
    }
    Updating = false;

    LabLock->hide();
    BtnTest->SetCaption("TEST");
    HoverRow = 0;
    HoverColumn = 0;
    RefreshMemoryMap();
    SendPending = false;
    ConfigReceived = true;
}

void TFormEdit::GoOnline() {
    for (ColourButton* button : findChildren<ColourButton*>()) {
        button->setEnabled(true);
    }
    SetModeButtonsExclusive(true);
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        GroupBoxes[channel]->setEnabled(true);
        DurationFields[channel]->setEnabled(true);
    }
    BtnCtrl1->SetFaceColour(0x00FFFFFF);
    BtnCtrl2->SetFaceColour(0x00FFFFFF);
    BoxSave->setEnabled(true);
    BoxLock->setEnabled(true);
    TimerBtns->start();
    Online = true;
    RefreshMemoryMap();
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
    return QDialog::event(event);
}
