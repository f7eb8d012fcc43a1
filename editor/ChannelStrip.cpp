// SPDX-License-Identifier: Apache-2.0
// A channel strip: its controls, what it says the user did, what it shows.
// GPIO buttons are momentary: pressed by the left mouse button or Space, let go
// on release or when the focus leaves them.
#include "editor/ChannelStrip.h"

#include "editor/EditorControls.h"
#include "editor/EditorGeometry.h"
#include "editor/EditorLook.h"
#include "editor/SpokenTexts.h"
#include "ui/ColourButton.h"
#include "ui/ColourLabel.h"
#include "ui/ControlText.h"
#include "ui/DurationField.h"
#include "ui/Speech.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <cmath>

using namespace EditorGeometry;

namespace {

constexpr ScreenColour White = 0x00FFFFFF;
constexpr ScreenColour ModeDown = 0x00DDFFDD;
constexpr ScreenColour ModeUp = 0x00EDEDED;
constexpr int StateButtonTops[4] = {9, 46, 83, 120};

} // namespace

ChannelStrip::ChannelStrip(int channel, QMenu* colourMenu, QWidget* parent)
    : Panel(parent), channel_(channel) {
    setObjectName(QString("Pan%1").arg(channel));
    setGeometry(LegendWidth + (channel - 1) * StripWidth, 0, StripWidth, ColumnHeight);
    Build(colourMenu);
}

void ChannelStrip::Build(QMenu* colourMenu) {
    const QString n = QString::number(channel_);
    number_ = MakePanel(this, "PanCap" + n, QRect(0, NumberTop, StripWidth, NumberHeight));
    number_->setFont(PixelFont("Tahoma", 13, true));
    number_->SetCaption(n);

    Panel* gpio = MakePanel(this, "PanB" + n, QRect(0, GpioTop, StripWidth, GpioHeight));
    const QFont smallFont = PixelFont("Small Fonts", 9);
    gpioLamp_ = new ColourLabel(gpio);
    gpioLamp_->setObjectName("IndGPO" + n);
    gpioLamp_->setGeometry(0, 0, StripWidth, 15);
    gpiLamp_ = new ColourLabel(gpio);
    gpiLamp_->setObjectName("IndGPI" + n);
    gpiLamp_->setGeometry(0, GpioHeight - 15, StripWidth, 15);
    for (ColourLabel* lamp : {gpioLamp_, gpiLamp_}) {
        lamp->setFont(smallFont);
        lamp->SetColours(WindowColour, WindowColour);
    }
    gpioLamp_->SetCaption(tr("GPIO"));
    gpiLamp_->SetCaption(tr("GPI"));
    gpioButton_ = MakeButton(gpio, "BtnGPO" + n, QString(), QRect(3, 17, 43, 38));
    gpioButton_->SetFaceColour(White);
    gpioButton_->SetFocusRectangle(false);
    gpioButton_->SetEnterClicks(false);
    gpioButton_->installEventFilter(this);

    Panel* groupCell = MakePanel(this, "PanGrp" + n, QRect(0, GroupTop, StripWidth, GroupHeight));
    group_ = new QComboBox(groupCell);
    group_->setObjectName("BoxGrp" + n);
    group_->setGeometry(3, 5, 42, 21);
    group_->setMaxVisibleItems(17);
    group_->setFont(PixelFont("Tahoma", 11));
    UseLightField(*group_);
    group_->addItem(tr("n/a"));
    for (int number = 1; number <= ChannelCount; ++number) {
        group_->addItem(QString(" %1").arg(number));
    }
    FitComboBoxItems(*group_);
    connect(group_, &QComboBox::activated, this, &ChannelStrip::BoxGrp1Click);

    Panel* modeCell = MakePanel(this, "PanMode" + n, QRect(0, ModeTop, StripWidth, ModeHeight));
    modeGroup_ = new QButtonGroup(this);
    const char* const prefixes[] = {"BtnAny", "BtnFix", "BtnPls"};
    const QString captions[] = {tr("Free"), tr("Fixed"), tr("Pulse")};
    for (int mode = 0; mode < 3; ++mode) {
        ColourButton* button = MakeButton(modeCell, prefixes[mode] + n, captions[mode],
                                          QRect(3, 6 + 24 * mode, 43, 21));
        button->setCheckable(true);
        button->SetFaceColour(White);
        button->SetTextColour(0x00000000);
        button->setFont(PixelFont("Tahoma", 11));
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        modeGroup_->addButton(button, mode);
        modeButtons_[std::size_t(mode)] = button;
        connect(button, &QWidget::customContextMenuRequested, this, [this, mode](QPoint at) {
            ColourButton* source = modeButtons_[std::size_t(mode)];
            emit ModeMenuRequested(channel_, mode, source->Caption(), source->mapToGlobal(at));
        });
    }
    connect(modeButtons_[ModeFree], &QPushButton::clicked, this, &ChannelStrip::BtnAny1Click);
    connect(modeButtons_[ModeFixed], &QPushButton::clicked, this, &ChannelStrip::BtnFix1Click);
    connect(modeButtons_[ModePulse], &QPushButton::clicked, this, &ChannelStrip::BtnPls1Click);

    duration_ = new DurationField(modeCell);
    duration_->setObjectName("EditMs" + n);
    duration_->setGeometry(3, 78, 42, 23);
    duration_->setFont(PixelFont("Arial Narrow", 11));
    UseLightField(*duration_);
    duration_->SetValue(0.3);
    duration_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(duration_, &DurationField::Stepped, this, &ChannelStrip::EditMs1ButtonClick);
    connect(duration_, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        emit DurationMenuRequested(channel_, duration_->Value(), duration_->mapToGlobal(at));
    });

    Panel* colours =
        MakePanel(this, "PanColors" + n, QRect(0, ColoursTop, StripWidth, ColoursHeight));
    const QFont colourFont = PixelFont("Small Fonts", 8);
    for (int state = 0; state < 4; ++state) {
        ColourButton* button = MakeButton(colours, ColourButtonName(state, channel_), QString(),
                                          QRect(6, StateButtonTops[state], 36, 31));
        button->setFont(colourFont);
        button->SetTextColour(White);
        button->SetFocusRectangle(false);
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        // A menu button raises `pressed` before its menu opens: the menu then
        // knows its channel and state.
        connect(button, &QPushButton::pressed, this,
                [this, state] { emit ColourMenuOpening(channel_, state); });
        button->setMenu(colourMenu);
        connect(button, &QWidget::customContextMenuRequested, this, [this, state](QPoint at) {
            emit ColourCopyMenuRequested(channel_, state,
                                         colourButtons_[std::size_t(state)]->mapToGlobal(at));
        });
        colourButtons_[std::size_t(state)] = button;
    }

    ForwardClicks(*this, {number_, gpio, groupCell, modeCell, colours});

    SetSpokenNameAndTip(*gpioButton_, SpokenGpioButton(channel_, false));
    SetSpokenName(*gpioLamp_, SpokenLamp(channel_, false));
    SetSpokenName(*gpiLamp_, SpokenLamp(channel_, true));
    const QString modeTips[] = {
        tr("Free: the GPIO output follows the button while it is held"),
        tr("Fixed: each press switches the GPIO output on or off"),
        tr("Pulse: each press switches the GPIO output on for the pulse duration"),
    };
    for (int mode = 0; mode < 3; ++mode) {
        ColourButton* button = modeButtons_[std::size_t(mode)];
        SetSpokenName(*button,
                      tr("Channel %1 mode: %2").arg(channel_).arg(DisplayText(button->Caption())));
        button->setToolTip(modeTips[mode]);
    }
    SetSpokenName(*group_, tr("Channel %1 group").arg(channel_));
    group_->setToolTip(
        tr("The channel's group: copying to the same group reaches the channels that share it"));
    SetSpokenName(*duration_, tr("Channel %1 pulse duration in seconds").arg(channel_));
    duration_->setToolTip(tr("Pulse duration in seconds, in Pulse mode"));
    ShowColours({});
}

void ChannelStrip::SetPresent(bool present) {
    number_->SetCaption(present ? QString::number(channel_) : QString());
    for (QWidget* control :
         std::initializer_list<QWidget*>{gpioLamp_, gpiLamp_, gpioButton_, group_, modeButtons_[0],
                                         modeButtons_[1], modeButtons_[2], duration_}) {
        control->setVisible(present);
    }
    for (ColourButton* button : colourButtons_) {
        button->setVisible(present);
    }
}

void ChannelStrip::SetModeButtonsExclusive(bool exclusive) {
    modeGroup_->setExclusive(exclusive);
    if (!exclusive) {
        for (ColourButton* button : modeButtons_) {
            button->setChecked(false);
        }
    }
}

void ChannelStrip::ShowOffline() {
    SetModeButtonsExclusive(false);
    for (ColourButton* button : modeButtons_) {
        button->SetFaceColour(WindowColour);
    }
    gpioButton_->SetFaceColour(WindowColour);
    gpioLamp_->SetColours(WindowColour, WindowColour);
    gpiLamp_->SetColours(WindowColour, WindowColour);
    shownState_ = 0xFF;
    {
        const QSignalBlocker blocker(group_);
        group_->setCurrentIndex(-1);
    }
    duration_->ClearText();
    for (ColourButton* button : colourButtons_) {
        button->SetFaceColour(WindowColour);
        button->SetCaption(QString());
    }
}

void ChannelStrip::SetUsable(bool editable, bool pressable) {
    gpioButton_->setEnabled(pressable);
    for (ColourButton* button : modeButtons_) {
        button->setEnabled(editable);
    }
    group_->setEnabled(editable);
    duration_->setEnabled(editable && modeButtons_[ModePulse]->isChecked());
    for (ColourButton* button : colourButtons_) {
        button->setEnabled(editable);
    }
}

void ChannelStrip::ShowMode(int mode) {
    modeGroup_->setExclusive(true);
    if (mode >= ModeFree && mode <= ModePulse) {
        modeButtons_[std::size_t(mode)]->setChecked(true);
    }
}

void ChannelStrip::ShowGroup(int group) {
    const QSignalBlocker blocker(group_);
    group_->setCurrentIndex(group <= ChannelCount ? group : -1);
}

void ChannelStrip::ShowDuration(int tenths) {
    duration_->SetValue(tenths / 10.0);
}

void ChannelStrip::ShowColours(const std::array<ColourEntry, 4>& colours) {
    for (int state = 0; state < 4; ++state) {
        const ColourEntry& entry = colours[std::size_t(state)];
        ColourButton* button = colourButtons_[std::size_t(state)];
        if (entry.ScreenColor == 0) {
            button->SetFaceColour(WindowColour);
            button->SetCaption(tr("Off"));
        } else {
            button->SetFaceColour(entry.ScreenColor);
            button->SetCaption(QString());
        }
        SetSpokenNameAndTip(*button, SpokenColourButton(channel_, state, entry));
    }
}

void ChannelStrip::ShowState(std::uint8_t state, ScreenColour displayColour) {
    gpioButton_->SetFaceColour(displayColour);
    // A status comes with every poll: the lamps change, and are named, only
    // when the state does.
    if (state > 3 || state == shownState_) {
        return;
    }
    shownState_ = state;
    const ScreenColour background = gpioLamp_->BackgroundColour();
    const bool output = (state & 1) != 0;
    const bool input = (state & 2) != 0;
    gpioLamp_->SetColours(background, output ? White : background);
    gpiLamp_->SetColours(background, input ? White : background);
    SetSpokenValue(*gpioLamp_, SpokenOnOff(output));
    SetSpokenName(*gpioButton_, SpokenGpioButton(channel_, output));
    SetSpokenValue(*gpiLamp_, SpokenOnOff(input));
}

void ChannelStrip::KeepModeFaces() {
    for (ColourButton* button : modeButtons_) {
        button->SetFaceColour(button->isChecked() ? ModeDown : ModeUp);
    }
    const bool pulse = modeButtons_[ModePulse]->isChecked() && modeButtons_[ModePulse]->isEnabled();
    if (duration_->isEnabled() != pulse) {
        duration_->setEnabled(pulse);
    }
}

std::vector<QWidget*> ChannelStrip::FocusableControls() const {
    std::vector<QWidget*> controls = {gpioButton_,     group_,          modeButtons_[0],
                                      modeButtons_[1], modeButtons_[2], duration_};
    controls.insert(controls.end(), colourButtons_.begin(), colourButtons_.end());
    return controls;
}

bool ChannelStrip::eventFilter(QObject* watched, QEvent* event) {
    // Only the GPIO button carries this filter. It sees the events of a disabled
    // button too, which presses nothing; a release always goes through.
    if (watched != gpioButton_) {
        return Panel::eventFilter(watched, event);
    }
    if (!gpioButton_->isEnabled() && event->type() != QEvent::FocusOut &&
        event->type() != QEvent::MouseButtonRelease && event->type() != QEvent::KeyRelease) {
        return Panel::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            BtnGPO1MouseDown();
        }
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            BtnGPO1MouseUp();
        }
        break;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
            BtnGPO1KeyDown();
        }
        break;
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Key repetition sends a press each time, but only the real release counts.
        if (key->key() == Qt::Key_Space && !key->isAutoRepeat()) {
            BtnGPO1KeyUp();
        }
        break;
    }
    case QEvent::FocusOut:
        emit GpioReleased(channel_);
        break;
    default:
        break;
    }
    return Panel::eventFilter(watched, event);
}

void ChannelStrip::BtnGPO1MouseDown() {
    emit GpioPressed(channel_);
}

void ChannelStrip::BtnGPO1MouseUp() {
    emit GpioReleased(channel_);
}

void ChannelStrip::BtnGPO1KeyDown() {
    emit GpioPressed(channel_);
}

void ChannelStrip::BtnGPO1KeyUp() {
    emit GpioReleased(channel_);
}

void ChannelStrip::ChooseMode(int mode) {
    modeButtons_[std::size_t(mode)]->setChecked(true);
    emit ModeChosen(channel_, mode);
}

void ChannelStrip::BtnAny1Click() {
    ChooseMode(ModeFree);
}

void ChannelStrip::BtnFix1Click() {
    ChooseMode(ModeFixed);
}

void ChannelStrip::BtnPls1Click() {
    ChooseMode(ModePulse);
}

void ChannelStrip::BoxGrp1Click() {
    emit GroupChosen(channel_, group_->currentIndex());
}

void ChannelStrip::EditMs1ButtonClick() {
    emit DurationStepped(channel_, int(std::lround(duration_->Value() * 10.0)));
}
