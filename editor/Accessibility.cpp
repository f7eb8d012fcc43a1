// SPDX-License-Identifier: Apache-2.0
// Names and tooltips of the editor's controls for screen readers and for
// anyone who meets a swatch, a lamp or a short caption for the first time. The
// states that change while the panel runs are spoken where they are drawn.
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
#include "ui/Speech.h"

#include <QCheckBox>
#include <QComboBox>

void TFormEdit::NameControls() {
    SetSpokenName(*PanN, tr("Channel numbers"));
    SetSpokenName(*LabLock, tr("Key lock"));
    BoxLock->setToolTip(tr("The panel has a key lock: its state shows below"));
    BoxSave->setToolTip(tr("The panel sets its GPIO outputs as they were when it is powered up"));
    for (int key = 1; key <= 2; ++key) {
        ColourButton* button = key == 1 ? BtnCtrl1 : BtnCtrl2;
        SetSpokenName(*button, tr("F%1 key function").arg(key));
        button->setToolTip(tr("What the panel's F%1 key does; click to choose").arg(key));
    }
    BtnClose->setToolTip(tr("Close the editor (Ctrl+W)"));
    BtnOff->setToolTip(tr("Switch every GPIO output of the panel off"));
    BtnLoad->setToolTip(tr("Load a configuration onto the panel (Ctrl+O: from a file)"));
    BtnSave->setToolTip(tr("Save the panel's configuration (Ctrl+S: to a file)"));
    BtnTest->setToolTip(tr("Run every light of the panel through its colours"));
    BtnMem->setToolTip(tr("Show or hide the memory map"));
    SetSpokenName(*PBoxMem, tr("Memory map"));
    PBoxMem->setToolTip(tr("Slots and their member channels: the arrow keys move, Space toggles"));
    for (int state = 0; state < 4; ++state) {
        colourButtons_[state][0]->setToolTip(
            tr("Brightness of this signal state on every channel; click to choose"));
        SetSpokenName(*indicators_[state], tr("Brightness of %1").arg(StateName(state)));
    }
    const QString modeTips[] = {
        tr("Free: the GPIO output follows the button while it is held"),
        tr("Fixed: each press switches the GPIO output on or off"),
        tr("Pulse: each press switches the GPIO output on for the pulse duration"),
    };
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        SetSpokenNameAndTip(*gpioButtons_[channel], SpokenGpioButton(channel, false));
        SetSpokenName(*gpioLabels_[channel], SpokenLamp(channel, false));
        SetSpokenName(*gpiLabels_[channel], SpokenLamp(channel, true));
        ColourButton* modeButtons[] = {freeButtons_[channel], fixedButtons_[channel],
                                       pulseButtons_[channel]};
        for (int mode = 0; mode < 3; ++mode) {
            SetSpokenName(*modeButtons[mode], tr("Channel %1 mode: %2")
                                                  .arg(channel)
                                                  .arg(DisplayText(modeButtons[mode]->Caption())));
            modeButtons[mode]->setToolTip(modeTips[mode]);
        }
        SetSpokenName(*groupBoxes_[channel], tr("Channel %1 group").arg(channel));
        groupBoxes_[channel]->setToolTip(tr(
            "The channel's group: copying to the same group reaches the channels that share it"));
        SetSpokenName(*durationFields_[channel],
                      tr("Channel %1 pulse duration in seconds").arg(channel));
        durationFields_[channel]->setToolTip(tr("Pulse duration in seconds, in Pulse mode"));
        for (int state = 0; state < 4; ++state) {
            SetSpokenNameAndTip(*colourButtons_[state][channel],
                                SpokenColourButton(channel, state, model_.Colour(state, channel)));
        }
    }
}

void TFormEdit::SpeakMemoryCursor() {
    SetSpokenValue(*PBoxMem, PBoxMem->hasFocus() && hoverRow_ != 0
                                 ? SpokenMemoryCell(hoverRow_, hoverColumn_,
                                                    model_.MemorySlotEnabled(hoverRow_),
                                                    model_.MemoryLink(hoverRow_, hoverColumn_))
                                 : QString());
}
