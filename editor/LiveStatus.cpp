// The editor's side of the link: replies refresh the window, the end of the link
// is reported in words, and every edit reaches the panel through SendConfiguration.
#include "editor/UnitGPI.h"

#include "editor/EditorLook.h"

#include "link/LinkFailureText.h"
#include "link/WireProtocol.h"
#include "ui/Dialogs.h"
#include "ui/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMenu>

#include <algorithm>
#include <cmath>

namespace {

constexpr ScreenColor White = 0x00FFFFFF;

} // namespace

void TFormEdit::MsgLinkReplyHandler(std::uint8_t replyCode,
                                    const std::vector<std::uint8_t>& payload) {
    ConfigReply buffer{};
    const std::size_t length =
        replyCode == CmdReadConfig ? ConfigReplySize : std::size_t(StatusBlockSize);
    std::copy_n(payload.begin(), std::min(length, payload.size()), buffer.begin());

    if (replyCode == CmdReadConfig) {
        ConfigReceived = true;
        if (!SendPending) {
            ApplyConfiguration(ConfigPartOf(buffer));
        }
    }
    ShowStatus(StatusPartOf(buffer));
    if (SendPending) {
        SendConfiguration();
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
}

void TFormEdit::ApplyConfiguration(const ConfigBlock& block) {
    if (!GpioButtons[1]->isEnabled()) {
        GoOnline();
    }
    Configuration = block;

    Updating = true;
    BoxSave->setChecked(block[ConfigSAVE] != 0);
    BoxLock->setChecked(block[ConfigLOCK] != 0);
    Updating = false;
    LabLock->setVisible(BoxLock->isChecked());

    for (int channel = 1; channel <= ChannelCount; ++channel) {
        const std::size_t record = RecordOffset(channel);
        const int group = block[record + RecordGROUP];
        {
            const QSignalBlocker blocker(GroupBoxes[channel]);
            // A group the box does not list shows as an empty box.
            GroupBoxes[channel]->setCurrentIndex(group <= ChannelCount ? group : -1);
        }
        switch (block[record + RecordMODE]) {
        case ModeFree:
            FreeButtons[channel]->setChecked(true);
            break;
        case ModeFixed:
            FixedButtons[channel]->setChecked(true);
            break;
        case ModePulse:
            PulseButtons[channel]->setChecked(true);
            break;
        default:
            break;
        }
        DurationFields[channel]->SetValue(block[record + RecordDURATION] / 10.0);
        for (int state = 0; state < 4; ++state) {
            ColourEntry& entry = ColourEntries[state][channel];
            entry = ColourEntryOf(block, channel, state);
            ColourButton* button = ColourButtons[state][channel];
            if (entry.ScreenColor == 0) {
                button->SetFaceColour(WindowColour);
                button->SetCaption("Off");
            } else {
                button->SetFaceColour(entry.ScreenColor);
                button->SetCaption(QString());
            }
        }
    }

    for (int state = 0; state < 4; ++state) {
        ColourButtons[state][0]->SetCaption(
            QString("%1\r\nBr: %2")
                .arg(StateNames[state],
                     QString::fromStdString(BrightnessText(ColourEntries[state][1].Brightness))));
        Indicators[state]->update();
    }

    SetFunctionKeyButton(BtnCtrl1, CtrlMenu1, block[ConfigMODE17]);
    SetFunctionKeyButton(BtnCtrl2, CtrlMenu2, block[ConfigMODE18]);

    for (int slot = 1; slot <= ChannelCount; ++slot) {
        for (int member = 1; member <= ChannelCount; ++member) {
            const int k = (member - 1) / 4;
            const int j = (member - 1) % 4;
            MemoryLinks[slot][member] = ChannelPresent[slot] && ChannelPresent[member] &&
                                        ((block[MemoryByteOffset(slot, k)] >> j) & 1);
        }
        MemoryEnabled[slot] = ChannelPresent[slot] && block[RecordOffset(slot) + RecordISMEM] == 1;
    }
    RefreshMemoryMap();
}

void TFormEdit::ShowStatus(const StatusBlock& status) {
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        const std::uint8_t state = status[StatusStateOffset(channel)];
        GpioButtons[channel]->SetFaceColour(ColourEntries[state & 3][channel].DisplayColor);
        if (state <= 3) {
            const ScreenColor background = GpioLabels[channel]->BackgroundColour();
            GpioLabels[channel]->SetColours(background, (state & 1) ? White : background);
            GpiLabels[channel]->SetColours(background, (state & 2) ? White : background);
        }
    }
    const int f1 = status[StatusSTATE17];
    const int f2 = status[StatusSTATE18];
    BtnCtrl1->SetFaceColour(FunctionKeyBackground(1, f1, Configuration[ConfigMODE17]));
    BtnCtrl1->SetTextColour(FunctionKeyText(1, f1, Configuration[ConfigMODE17]));
    BtnCtrl2->SetFaceColour(FunctionKeyBackground(2, f2, Configuration[ConfigMODE18]));
    BtnCtrl2->SetTextColour(FunctionKeyText(2, f2, Configuration[ConfigMODE18]));

    if (!LabLock->isHidden()) {
        if (status[StatusLOCKSTATE] != 0) {
            LabLock->SetColours(0x007777FF, 0x00FFFFFF);
            LabLock->SetCaption("LOCKED");
        } else {
            LabLock->SetColours(0x00777777, 0x00CCFFCC);
            LabLock->SetCaption("UNLOCKED");
        }
    }
}

void TFormEdit::SendConfiguration() {
    SendPending = true;
    if (!ConfigReceived) {
        return;
    }
    Configuration[ConfigSAVE] = BoxSave->isChecked() ? 1 : 0;
    Configuration[ConfigLOCK] = BoxLock->isChecked() ? 1 : 0;
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        const std::size_t record = RecordOffset(channel);
        Configuration[record + RecordCHANNEL] = std::uint8_t(channel);
        // An empty box (a group it does not list) passes the panel's value on.
        if (GroupBoxes[channel]->currentIndex() >= 0) {
            Configuration[record + RecordGROUP] = std::uint8_t(GroupBoxes[channel]->currentIndex());
        }
        Configuration[record + RecordMODE] = PulseButtons[channel]->isChecked()   ? ModePulse
                                             : FixedButtons[channel]->isChecked() ? ModeFixed
                                                                                  : ModeFree;
        Configuration[record + RecordDURATION] =
            std::uint8_t(std::lround(DurationFields[channel]->Value() * 10.0));
        for (int state = 0; state < 4; ++state) {
            const DeviceColor bytes = EncodeColourEntry(ColourEntries[state][channel]);
            std::copy(bytes.begin(), bytes.end(),
                      Configuration.begin() + ColourOffset(channel, state));
        }
    }
    for (int slot = 1; slot <= ChannelCount; ++slot) {
        for (int k = 0; k < 4; ++k) {
            std::uint8_t bits = 0;
            for (int j = 0; j < 4; ++j) {
                const int member = 4 * k + j + 1;
                if (ChannelPresent[slot] && ChannelPresent[member] && MemoryLinks[slot][member]) {
                    bits = std::uint8_t(bits | (1 << j));
                }
            }
            Configuration[MemoryByteOffset(slot, k)] = bits;
        }
        Configuration[RecordOffset(slot) + RecordISMEM] =
            ChannelPresent[slot] && MemoryEnabled[slot] ? 1 : 0;
    }
    SendPending = false;
    ConfigReceived = false;
    deviceThread_->PostWriteConfig(Configuration);
}

void TFormEdit::MsgLinkEndedHandler() {
    GoOffline();
    const TDeviceThread& link = *deviceThread_;
    if (!link.StoppedOnRequest && link.LinkResult != LinkOk) {
        const std::string text = LinkFailureText(link.LinkResult, link.IoStatus, link.ErrorByte,
                                                 link.LastCommand, link.LastReply);
        Dialogs::ShowMessage(this, QString::fromStdString(text), "Error", Dialogs::Icon::Warning);
    }
    reject();
}
