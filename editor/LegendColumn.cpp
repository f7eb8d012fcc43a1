// SPDX-License-Identifier: Apache-2.0
#include "editor/LegendColumn.h"

#include "editor/EditorControls.h"
#include "editor/EditorGeometry.h"
#include "editor/EditorLook.h"
#include "ui/ColourButton.h"
#include "ui/ColourLabel.h"
#include "ui/ControlText.h"
#include "ui/PaintBox.h"
#include "ui/ScreenColour.h"
#include "ui/Speech.h"

#include <QCheckBox>
#include <QMenu>
#include <QPainter>

#include <cmath>

using namespace EditorGeometry;

namespace {

constexpr ScreenColour Silver = 0x00C0C0C0;
constexpr int LegendStateTops[4] = {5, 42, 79, 116};

ColourLabel* MakeTitle(QWidget* parent, const QString& name, const QString& caption, int height) {
    auto* title = new ColourLabel(parent, true);
    title->setObjectName(name);
    title->setGeometry(0, 0, 25, height);
    title->setFont(PixelFont("Tahoma", 11, true));
    title->SetCaption(caption);
    return title;
}

} // namespace

LegendColumn::LegendColumn(QMenu* brightnessMenu, QWidget* parent) : Panel(parent) {
    setObjectName("Pan0");
    setGeometry(0, 0, LegendWidth, ColumnHeight);
    Build(brightnessMenu);
}

void LegendColumn::Build(QMenu* brightnessMenu) {
    numbers_ = MakePanel(this, "PanN", QRect(0, NumberTop, LegendWidth, NumberHeight));
    // Tahoma's stand-in has no "№"; Liberation Sans draws it.
    QFont numberFont = PixelFont("Tahoma", 12, true);
    numberFont.setFamilies({"Liberation Sans", "DejaVu Sans", "Tahoma"});
    numbers_->setFont(numberFont);
    numbers_->SetCaption(QString::fromUtf8("\u2116"));
    numbers_->setFocusPolicy(Qt::StrongFocus);
    SetSpokenName(*numbers_, tr("Channel numbers"));

    Panel* gpio = MakePanel(this, "PanGPO", QRect(0, GpioTop, LegendWidth, GpioHeight));
    Panel* online = MakePanel(gpio, "PanOnline", QRect(0, 0, LegendWidth, 20));
    online->setFont(PixelFont("Tahoma", 11, true));
    online->SetCaption(tr("Online Control "));
    keyLock_ = new QCheckBox(tr("Keylock installed"), gpio);
    keyLock_->setObjectName("BoxLock");
    keyLock_->setGeometry(6, 22, 114, 18);
    FitButtonText(*keyLock_);
    keyLock_->setToolTip(tr("The panel has a key lock: its state shows below"));
    connect(keyLock_, &QCheckBox::toggled, this, &LegendColumn::BoxLockClick);
    lockState_ = new ColourLabel(gpio);
    lockState_->setObjectName("LabLock");
    lockState_->setGeometry(6, 44, 110, 22);
    lockState_->setFont(PixelFont("Tahoma", 11, true));
    lockState_->SetCaption(tr("UNLOCKED"));
    lockState_->SetColours(0x00777777, 0x00CCFFCC);
    lockState_->hide();
    SetSpokenName(*lockState_, tr("Key lock"));

    groupTitle_ = MakePanel(this, "PanGrp", QRect(0, GroupTop, LegendWidth, GroupHeight));
    groupTitle_->SetCaption(tr("Group"));
    groupTitle_->setFont(PixelFont("Tahoma", 11, true));

    Panel* mode = MakePanel(this, "PanMode", QRect(0, ModeTop, LegendWidth, ModeHeight));
    MakeTitle(mode, "LabModeGPIO", tr("GPIO"), ModeHeight);
    Panel* modeCaption = MakePanel(mode, "PanModeCaption", QRect(25, 0, 97, 78));
    modeCaption->setFont(PixelFont("Tahoma", 11, true));
    modeCaption->SetCaption(tr("Mode"));
    Panel* duration = MakePanel(mode, "PanDur", QRect(25, 78, 97, 26));
    duration->setFont(PixelFont("Tahoma", 10));
    duration->SetCaption(tr("Duration\r\n(sec.)"));

    Panel* colours = MakePanel(this, "PanC", QRect(0, ColoursTop, LegendWidth, ColoursHeight));
    MakeTitle(colours, "LabColors", tr("Colors "), ColoursHeight);
    stateButtons_ = MakePanel(colours, "PanColBtn",
                              QRect(LegendButtonsLeft, 0, LegendButtonsWidth, ColoursHeight));
    for (int state = 0; state < 4; ++state) {
        ColourButton* button =
            MakeButton(stateButtons_, ColourButtonName(state, 0), StateName(state),
                       QRect(2, LegendStateTops[state], 80, 35));
        button->setToolTip(tr("Brightness of this signal state on every channel; click to choose"));
        connect(button, &QPushButton::pressed, this,
                [this, state] { emit BrightnessMenuOpening(state); });
        button->setMenu(brightnessMenu);
        stateButtonsByState_[std::size_t(state)] = button;
        auto* bar = new PaintBox(stateButtons_);
        bar->setObjectName(QString("IndC%1").arg(state));
        bar->setGeometry(85, LegendStateTops[state] + 2, 5, 31);
        bar->SetPainter(
            [this, state](QPainter& painter, const QRect&) { IndC0Paint(state, painter); });
        SetSpokenName(*bar, tr("Brightness of %1").arg(StateName(state)));
        bars_[std::size_t(state)] = bar;
    }
    ForwardClicks(*this, {numbers_, gpio, online, groupTitle_, mode, modeCaption, duration, colours,
                          stateButtons_});
}

void LegendColumn::ShowOffline() {
    for (int state = 0; state < 4; ++state) {
        stateButtonsByState_[std::size_t(state)]->SetFaceColour(WindowColour);
        stateButtonsByState_[std::size_t(state)]->SetCaption(StateName(state));
        levels_[std::size_t(state)] = 0;
        bars_[std::size_t(state)]->update();
    }
    {
        const QSignalBlocker blocker(keyLock_);
        keyLock_->setChecked(false);
    }
    lockState_->hide();
    shownLocked_.reset();
}

void LegendColumn::SetEditable(bool editable) {
    editable_ = editable;
    keyLock_->setEnabled(editable);
    for (std::size_t state = 0; state < 4; ++state) {
        stateButtonsByState_[state]->setEnabled(editable);
        bars_[state]->update();
    }
}

void LegendColumn::ShowKeyLock(bool installed) {
    // Hidden, the label follows no status: shown again, the next one sets it.
    if (!installed) {
        shownLocked_.reset();
    }
    {
        const QSignalBlocker blocker(keyLock_);
        keyLock_->setChecked(installed);
    }
    lockState_->setVisible(installed);
}

void LegendColumn::ShowLockState(bool locked) {
    // Every status passes here: the label changes with the lock only.
    if (lockState_->isHidden() || shownLocked_ == locked) {
        return;
    }
    shownLocked_ = locked;
    if (locked) {
        lockState_->SetColours(0x007777FF, 0x00FFFFFF);
        lockState_->SetCaption(tr("LOCKED"));
        SetSpokenValue(*lockState_, tr("locked"));
    } else {
        lockState_->SetColours(0x00777777, 0x00CCFFCC);
        lockState_->SetCaption(tr("UNLOCKED"));
        SetSpokenValue(*lockState_, tr("unlocked"));
    }
}

void LegendColumn::ShowBrightness(int state, int intensity, const QString& levelText) {
    levels_[std::size_t(state)] = intensity;
    stateButtonsByState_[std::size_t(state)]->SetCaption(
        tr("%1\r\nBr: %2").arg(StateName(state), levelText));
    // The bar beside the legend, for screen readers: its state and its value.
    SetSpokenNameAndTip(*bars_[std::size_t(state)],
                        tr("Brightness of %1: %2").arg(StateName(state), levelText));
    bars_[std::size_t(state)]->update();
}

QWidget* LegendColumn::ChannelNumbers() const {
    return numbers_;
}

std::vector<QWidget*> LegendColumn::FocusableControls() const {
    std::vector<QWidget*> controls = {numbers_, keyLock_};
    controls.insert(controls.end(), stateButtonsByState_.begin(), stateButtonsByState_.end());
    return controls;
}

int LegendColumn::StateButtonsRight() const {
    return stateButtons_->width() + 2;
}

int LegendColumn::GroupRowHeight() const {
    return groupTitle_->height();
}

void LegendColumn::BoxLockClick() {
    emit KeyLockToggled(keyLock_->isChecked());
}

void LegendColumn::IndC0Paint(int state, QPainter& painter) const {
    const QRect client = bars_[std::size_t(state)]->rect();
    if (!editable_) {
        painter.fillRect(client, QColorFromScreen(WindowColour));
        return;
    }
    const int intensity = levels_[std::size_t(state)];
    const int level = ClampByte(2 * intensity);
    painter.setPen(QColorFromScreen(intensity != 0 ? Silver : WindowColour));
    painter.setBrush(QColorFromScreen(WindowColour));
    painter.drawRect(client.adjusted(0, 0, -1, -1));

    // Halves round to even, as the bar height always has.
    const int bar = int(std::nearbyint(double(level) * client.height() / 255.0));
    const int bottom = client.height() - 1; // exclusive, inside the frame
    const int top = bottom - bar;
    if (bar > 0) {
        painter.fillRect(QRect(QPoint(1, top), QPoint(client.width() - 2, bottom - 1)),
                         QColorFromScreen(0x00FFFFFF));
    }
}
