// SPDX-License-Identifier: Apache-2.0
// The editor's side of the link: replies refresh the window, the end of the link
// is reported in words, and every edit reaches the panel through SendConfiguration.
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
#include "editor/SpokenTexts.h"

#include "link/LinkFailureText.h"
#include "link/WireProtocol.h"
#include "ui/Dialogs.h"
#include "ui/Speech.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QMenu>

namespace {

constexpr ScreenColour White = 0x00FFFFFF;

} // namespace

void TFormEdit::MsgLinkReplyHandler(std::uint8_t replyCode,
                                    const std::vector<std::uint8_t>& payload) {
    const EditorModel::ReplyOutcome outcome = model_.ReceiveReply(replyCode, payload);
    if (outcome.configurationApplied) {
        ShowConfiguration();
    }
    ShowStatus(outcome.status);
    Post(outcome.post);
}

void TFormEdit::Post(const PostedBlock& block) {
    if (block) {
        deviceThread_->PostWriteConfig(*block);
    }
}

void TFormEdit::SetFunctionKeyButton(ColourButton* button, QMenu* menu, int function) {
    SetTag(button, function);
    const QList<QAction*> items = menu->actions();
    if (function < items.size()) {
        const QAction* item = items[function];
        QString caption = item->property("caption").isValid() ? item->property("caption").toString()
                                                              : item->text();
        button->SetCaption(caption.remove('&'));
    } else {
        // A function the menus do not offer: show its number rather than hide it.
        button->SetCaption(QString("(%1)").arg(function));
    }
    SetSpokenName(*button, tr("F%1 key function: %2")
                               .arg(button == BtnCtrl1 ? 1 : 2)
                               .arg(DisplayText(button->Caption()).simplified()));
}

void TFormEdit::ApplyConfiguration(const ConfigBlock& block) {
    model_.ApplyConfiguration(block);
    ShowConfiguration();
}

void TFormEdit::ShowModes() {
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        ColourButton* buttons[] = {freeButtons_[channel], fixedButtons_[channel],
                                   pulseButtons_[channel]};
        // A mode the editor does not know leaves the buttons as they are.
        const int mode = model_.Mode(channel);
        if (mode <= ModePulse) {
            buttons[mode]->setChecked(true);
        }
    }
}

void TFormEdit::ShowColours(int channel) {
    for (int state = 0; state < 4; ++state) {
        const ColourEntry& entry = model_.Colour(state, channel);
        ColourButton* button = colourButtons_[state][channel];
        if (entry.ScreenColor == 0) {
            button->SetFaceColour(WindowColour);
            button->SetCaption(tr("Off"));
        } else {
            button->SetFaceColour(entry.ScreenColor);
            button->SetCaption(QString());
        }
        SetSpokenNameAndTip(*button, SpokenColourButton(channel, state, entry));
    }
}

void TFormEdit::ShowConfiguration() {
    if (!gpioButtons_[1]->isEnabled()) {
        GoOnline();
    }
    const ConfigBlock& block = model_.Configuration();
    updating_ = true;
    BoxSave->setChecked(block[ConfigSAVE] != 0);
    BoxLock->setChecked(block[ConfigLOCK] != 0);
    updating_ = false;
    LabLock->setVisible(BoxLock->isChecked());

    ShowModes();
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        const int group = model_.Group(channel);
        {
            const QSignalBlocker blocker(groupBoxes_[channel]);
            // A group the box does not list shows as an empty box.
            groupBoxes_[channel]->setCurrentIndex(group <= ChannelCount ? group : -1);
        }
        durationFields_[channel]->SetValue(model_.DurationTenths(channel) / 10.0);
        ShowColours(channel);
    }
    for (int state = 0; state < 4; ++state) {
        const QString brightness = QCoreApplication::translate(
            "UnitProcs", BrightnessText(model_.Colour(state, 1).Brightness).c_str());
        colourButtons_[state][0]->SetCaption(tr("%1\r\nBr: %2").arg(StateName(state), brightness));
        // The bar beside the legend, for screen readers: its state and its value.
        SetSpokenNameAndTip(*indicators_[state],
                            tr("Brightness of %1: %2").arg(StateName(state), brightness));
        indicators_[state]->update();
    }
    SetFunctionKeyButton(BtnCtrl1, CtrlMenu1, block[ConfigMODE17]);
    SetFunctionKeyButton(BtnCtrl2, CtrlMenu2, block[ConfigMODE18]);
    RefreshMemoryMap();
}

void TFormEdit::ShowStatus(const StatusBlock& status) {
    // Every status passes here: the lamps' words are looked up once, and a
    // button's name is made only when its output changes.
    const QString on = SpokenOnOff(true);
    const QString off = SpokenOnOff(false);
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        const std::uint8_t state = status[StatusStateOffset(channel)];
        gpioButtons_[channel]->SetFaceColour(model_.Colour(state & 3, channel).DisplayColor);
        if (state <= 3) {
            const ScreenColour background = gpioLabels_[channel]->BackgroundColour();
            gpioLabels_[channel]->SetColours(background, (state & 1) ? White : background);
            gpiLabels_[channel]->SetColours(background, (state & 2) ? White : background);
            const QString& output = (state & 1) != 0 ? on : off;
            if (gpioLabels_[channel]->accessibleDescription() != output) {
                SetSpokenValue(*gpioLabels_[channel], output);
                SetSpokenName(*gpioButtons_[channel], SpokenGpioButton(channel, (state & 1) != 0));
            }
            SetSpokenValue(*gpiLabels_[channel], (state & 2) != 0 ? on : off);
        }
    }
    const int f1 = status[StatusSTATE17];
    const int f2 = status[StatusSTATE18];
    BtnCtrl1->SetFaceColour(FunctionKeyBackground(1, f1, model_.Configuration()[ConfigMODE17]));
    BtnCtrl1->SetTextColour(FunctionKeyText(1, f1, model_.Configuration()[ConfigMODE17]));
    BtnCtrl2->SetFaceColour(FunctionKeyBackground(2, f2, model_.Configuration()[ConfigMODE18]));
    BtnCtrl2->SetTextColour(FunctionKeyText(2, f2, model_.Configuration()[ConfigMODE18]));
    SetSpokenValue(*BtnCtrl1, f1 != 0 ? tr("pressed") : tr("released"));
    SetSpokenValue(*BtnCtrl2, f2 != 0 ? tr("pressed") : tr("released"));

    if (!LabLock->isHidden()) {
        if (status[StatusLOCKSTATE] != 0) {
            LabLock->SetColours(0x007777FF, 0x00FFFFFF);
            LabLock->SetCaption(tr("LOCKED"));
            SetSpokenValue(*LabLock, tr("locked"));
        } else {
            LabLock->SetColours(0x00777777, 0x00CCFFCC);
            LabLock->SetCaption(tr("UNLOCKED"));
            SetSpokenValue(*LabLock, tr("unlocked"));
        }
    }
}

void TFormEdit::SendConfiguration() {
    Post(model_.RequestSend());
}

void TFormEdit::MsgLinkEndedHandler() {
    GoOffline();
    const TLinkOutcome& link = deviceThread_->Outcome();
    if (!link.StoppedOnRequest && link.LinkResult != LinkOk) {
        const std::string text = LinkFailureText(link.LinkResult, link.IoStatus, link.ErrorByte,
                                                 link.LastCommand, link.LastReply);
        Dialogs::ShowMessage(this, QString::fromStdString(text), tr("Error"),
                             Dialogs::Icon::Warning);
    }
    reject();
}
