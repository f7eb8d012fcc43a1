// SPDX-License-Identifier: Apache-2.0
// What a channel strip does: GPIO buttons send momentary presses, "GPIO Switch
// off" switches every output off, mode, group and duration edits are sent, the
// mode and duration menus copy a strip's value to all channels or its group, and
// the housekeeping timer keeps the mode buttons' colours and the duration fields
// in step with the chosen mode.
#include "editor/UnitGPI.h"

#include "ui/ColourButton.h"
#include "ui/ColourLabel.h"
#include "ui/ControlText.h"
#include "ui/DurationField.h"
#include "ui/OwnerDrawnMenu.h"
#include "ui/PaintBox.h"
#include "ui/Panel.h"
#include "ui/ScreenColour.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include <cmath>

namespace {

constexpr ScreenColour ModeDown = 0x00DDFFDD;
constexpr ScreenColour ModeUp = 0x00EDEDED;

int ChannelOf(const QObject* control) {
    return TagOf(control) & 0xFFFF;
}

} // namespace

void TFormEdit::ConnectChannelOperations() {
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        gpioButtons_[channel]->installEventFilter(this);
        gpioButtons_[channel]->SetEnterClicks(false);
        connect(freeButtons_[channel], &QPushButton::clicked, this,
                [this, button = freeButtons_[channel]] { BtnAny1Click(button); });
        connect(fixedButtons_[channel], &QPushButton::clicked, this,
                [this, button = fixedButtons_[channel]] { BtnFix1Click(button); });
        connect(pulseButtons_[channel], &QPushButton::clicked, this,
                [this, button = pulseButtons_[channel]] { BtnPls1Click(button); });
        for (ColourButton* button :
             {freeButtons_[channel], fixedButtons_[channel], pulseButtons_[channel]}) {
            connect(button, &QWidget::customContextMenuRequested, this,
                    [this, button](const QPoint& at) {
                        MMenuPopup(button);
                        MMenu->popup(button->mapToGlobal(at));
                    });
        }
        QComboBox* group = groupBoxes_[channel];
        connect(group, &QComboBox::activated, this, [this, group] { BoxGrp1Click(group); });
        DurationField* field = durationFields_[channel];
        connect(field, &DurationField::Stepped, this, [this, field] { EditMs1ButtonClick(field); });
        connect(field, &QWidget::customContextMenuRequested, this, [this, field](const QPoint& at) {
            DMenuPopup(field);
            DMenu->popup(field->mapToGlobal(at));
        });
    }
    ConnectMenuItems({{"MMenuCA", &TFormEdit::MMenuCAClick},
                      {"MMenuCG", &TFormEdit::MMenuCGClick},
                      {"DMenuCA", &TFormEdit::DMenuCAClick},
                      {"DMenuCG", &TFormEdit::DMenuCGClick}});
    connect(BtnOff, &QPushButton::clicked, this, &TFormEdit::BtnOffClick);
    connect(TimerBtns, &QTimer::timeout, this, &TFormEdit::TimerBtnsTimer);
}

bool TFormEdit::eventFilter(QObject* watched, QEvent* event) {
    // Only the GPIO buttons carry this filter.
    auto* button = qobject_cast<ColourButton*>(watched);
    if (button == nullptr) {
        return QDialog::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            BtnGPO1MouseDown(button);
        }
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            BtnGPO1MouseUp(button);
        }
        break;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
            BtnGPO1KeyDown(button);
        }
        break;
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Key repetition sends a press each time, but only the real release counts.
        if (key->key() == Qt::Key_Space && !key->isAutoRepeat()) {
            BtnGPO1KeyUp(button);
        }
        break;
    }
    case QEvent::FocusOut:
        ReleaseHeldGpio();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

// The filter sees events before the button does, also those of a disabled
// button, so the GPIO handlers check that the window is online themselves.
void TFormEdit::PressGpio(ColourButton* button) {
    if (!button->isEnabled()) {
        return;
    }
    for (const GpioCommand& command : model_.PressGpio(ChannelOf(button))) {
        deviceThread_->PostSetGpio(std::uint8_t(command.channel), std::uint8_t(command.state));
    }
}

void TFormEdit::ReleaseHeldGpio() {
    if (const std::optional<GpioCommand> release = model_.ReleaseGpio()) {
        deviceThread_->PostSetGpio(std::uint8_t(release->channel), 0);
    }
}

void TFormEdit::BtnGPO1MouseDown(ColourButton* button) {
    PressGpio(button);
}

void TFormEdit::BtnGPO1MouseUp(ColourButton*) {
    ReleaseHeldGpio();
}

void TFormEdit::BtnGPO1KeyDown(ColourButton* button) {
    PressGpio(button);
}

void TFormEdit::BtnGPO1KeyUp(ColourButton*) {
    ReleaseHeldGpio();
}

void TFormEdit::BtnOffClick() {
    if (model_.Online()) {
        deviceThread_->PostGpioOff();
    }
}

void TFormEdit::ChooseMode(ColourButton* button, int mode) {
    if (model_.Online()) {
        button->setChecked(true);
        Post(model_.SetMode(ChannelOf(button), mode));
    }
}

void TFormEdit::BtnAny1Click(ColourButton* button) {
    ChooseMode(button, ModeFree);
}

void TFormEdit::BtnFix1Click(ColourButton* button) {
    ChooseMode(button, ModeFixed);
}

void TFormEdit::BtnPls1Click(ColourButton* button) {
    ChooseMode(button, ModePulse);
}

void TFormEdit::BoxGrp1Click(QComboBox* box) {
    Post(model_.SetGroup(ChannelOf(box), box->currentIndex()));
}

void TFormEdit::EditMs1ButtonClick(DurationField* field) {
    Post(model_.SetDuration(ChannelOf(field), int(std::lround(field->Value() * 10.0))));
}

void TFormEdit::MMenuPopup(ColourButton* source) {
    modeMenuSource_ = source;
    findChild<QAction*>("MMenuCA")->setText(tr("set %1 mode -> All").arg(source->Caption()));
    findChild<QAction*>("MMenuCG")->setText(tr("set %1 mode -> Same Group").arg(source->Caption()));
}

// The mode of the button the menu was opened on, to every channel or to those of
// its group; one send.
void TFormEdit::PropagateMode(bool sameGroupOnly) {
    if (model_.Online() && modeMenuSource_ != nullptr) {
        Post(model_.SetModeForAll(ChannelOf(modeMenuSource_), TagOf(modeMenuSource_) >> 16,
                                  sameGroupOnly));
        ShowModes();
    }
}

void TFormEdit::MMenuCAClick() {
    PropagateMode(false);
}

void TFormEdit::MMenuCGClick() {
    PropagateMode(true);
}

void TFormEdit::DMenuPopup(DurationField* source) {
    durationMenuSource_ = source;
    const QString seconds = QString::number(source->Value(), 'f', 1);
    findChild<QAction*>("DMenuCA")->setText(tr("set Duration = %1 sec. -> All").arg(seconds));
    findChild<QAction*>("DMenuCG")->setText(
        tr("set Duration = %1 sec. -> Same Group").arg(seconds));
}

// The duration of the field the menu was opened on, to every channel in Pulse
// mode or to those of its group; one send.
void TFormEdit::PropagateDuration(bool sameGroupOnly) {
    if (!model_.Online() || durationMenuSource_ == nullptr) {
        return;
    }
    Post(model_.SetDurationForAll(ChannelOf(durationMenuSource_), sameGroupOnly));
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        durationFields_[channel]->SetValue(model_.DurationTenths(channel) / 10.0);
    }
}

void TFormEdit::DMenuCAClick() {
    PropagateDuration(false);
}

void TFormEdit::DMenuCGClick() {
    PropagateDuration(true);
}

void TFormEdit::TimerBtnsTimer() {
    TimerBtns->stop();
    if (!gpioButtons_[1]->isEnabled()) {
        return;
    }
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        for (ColourButton* button :
             {freeButtons_[channel], fixedButtons_[channel], pulseButtons_[channel]}) {
            button->SetFaceColour(button->isChecked() ? ModeDown : ModeUp);
        }
        const bool pulse = pulseButtons_[channel]->isChecked();
        if (durationFields_[channel]->isEnabled() != pulse) {
            durationFields_[channel]->setEnabled(pulse);
        }
    }
    TimerBtns->start();
}
