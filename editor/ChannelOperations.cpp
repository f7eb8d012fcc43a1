// SPDX-License-Identifier: Apache-2.0
// What the parts report, on its way to the model: GPIO presses and their
// release, "GPIO Switch off", mode, group, duration and colour edits, the copies
// to all channels or a group, the memory map's toggles and the Load and Save
// menus' items. The model decides each against the editor's mode; what it
// gives is posted.
#include "editor/UnitGPI.h"

#include "editor/ChannelStrip.h"
#include "editor/MemoryMapView.h"
#include "ui/Dialogs.h"
#include "ui/ScreenColour.h"

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
    switch (input) {
    case LoadFile:
        MenuLoadFileClick();
        break;
    case LoadDefault:
        MenuLoadDefaultClick();
        break;
    case LoadFactory:
        MenuLoadFactoryClick();
        break;
    case SaveFile:
        MenuSaveFileClick();
        break;
    case SaveDefault:
        MenuSaveDefaultClick();
        break;
    case Compare:
        MenuCompareClick();
        break;
    case Undo:
        MenuUndoClick();
        break;
    case Redo:
        MenuRedoClick();
        break;
    case Revert:
        MenuRevertClick();
        break;
    default:
        break;
    }
}
