// What a channel strip does: GPIO buttons send momentary presses, "GPIO Switch
// off" switches every output off, and the housekeeping timer keeps the mode
// buttons' colours and the duration fields in step with the chosen mode.
#include "UnitGPI.h"

#include "Widgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

namespace {

constexpr ScreenColor ModeDown = 0x00DDFFDD;
constexpr ScreenColor ModeUp = 0x00EDEDED;

} // namespace

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
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TFormEdit::BtnGPO1MouseDown(ColourButton* button) {
    deviceThread_->PostSetGpio(std::uint8_t(TagOf(button) & 0xFFFF), 1);
}

void TFormEdit::BtnGPO1MouseUp(ColourButton* button) {
    deviceThread_->PostSetGpio(std::uint8_t(TagOf(button) & 0xFFFF), 0);
}

void TFormEdit::BtnGPO1KeyDown(ColourButton* button) {
    deviceThread_->PostSetGpio(std::uint8_t(TagOf(button) & 0xFFFF), 1);
}

void TFormEdit::BtnGPO1KeyUp(ColourButton* button) {
    deviceThread_->PostSetGpio(std::uint8_t(TagOf(button) & 0xFFFF), 0);
}

void TFormEdit::BtnOffClick() {
    deviceThread_->PostGpioOff();
}

void TFormEdit::TimerBtnsTimer() {
    TimerBtns->stop();
    if (!GpioButtons[1]->isEnabled()) {
        return;
    }
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        for (ColourButton* button :
             {FreeButtons[channel], FixedButtons[channel], PulseButtons[channel]}) {
            button->SetFaceColour(button->isChecked() ? ModeDown : ModeUp);
        }
        const bool pulse = PulseButtons[channel]->isChecked();
        if (DurationFields[channel]->isEnabled() != pulse) {
            DurationFields[channel]->setEnabled(pulse);
        }
    }
    TimerBtns->start();
}
