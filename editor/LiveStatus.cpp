// SPDX-License-Identifier: Apache-2.0
// The editor's side of the link: replies refresh the parts, the end of the link
// is reported in words, and every edit reaches the panel through Post.
#include "editor/UnitGPI.h"

#include "editor/ChannelStrip.h"
#include "editor/ControlPanel.h"
#include "editor/LegendColumn.h"
#include "editor/MemoryMapView.h"

#include "link/LinkFailureText.h"
#include "link/WireProtocol.h"
#include "ui/Dialogs.h"

#include <QCoreApplication>
#include <QTimer>

void TFormEdit::MsgLinkReplyHandler(std::uint8_t replyCode,
                                    const std::vector<std::uint8_t>& payload) {
    const bool wasOnline = model_.Online();
    const EditorModel::ReplyOutcome outcome = model_.ReceiveReply(replyCode, payload);
    if (outcome.configurationApplied) {
        ShowConfiguration();
    }
    if (!wasOnline && model_.Online()) {
        EditingStarted();
    }
    ShowStatus(outcome.status);
    Post(outcome.post);
}

void TFormEdit::Post(const PostedBlock& block) {
    if (block) {
        deviceThread_->PostWriteConfig(*block);
    }
}

void TFormEdit::ApplyConfiguration(const ConfigBlock& block) {
    const bool wasOnline = model_.Online();
    model_.ApplyConfiguration(block);
    ShowConfiguration();
    if (!wasOnline) {
        EditingStarted();
    }
}

void TFormEdit::EditingStarted() {
    ShowMode();
    // Once the panel's configuration is on screen.
    if (!offeredFile_.isEmpty()) {
        QTimer::singleShot(0, this, &TFormEdit::CompareWithOfferedFile);
    }
}

void TFormEdit::ShowModes() {
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        strips_[std::size_t(channel)]->ShowMode(model_.Mode(channel));
    }
}

void TFormEdit::ShowDurations() {
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        strips_[std::size_t(channel)]->ShowDuration(model_.DurationTenths(channel));
    }
}

void TFormEdit::ShowConfiguration() {
    const ConfigBlock& block = model_.Configuration();
    controlPanel_->ShowRestoreOnPowerUp(block[ConfigSAVE] != 0);
    legend_->ShowKeyLock(block[ConfigLOCK] != 0);
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        ChannelStrip* strip = strips_[std::size_t(channel)];
        strip->ShowMode(model_.Mode(channel));
        strip->ShowGroup(model_.Group(channel));
        strip->ShowDuration(model_.DurationTenths(channel));
        strip->ShowColours({model_.Colour(0, channel), model_.Colour(1, channel),
                            model_.Colour(2, channel), model_.Colour(3, channel)});
    }
    for (int state = 0; state < 4; ++state) {
        const QString brightness = QCoreApplication::translate(
            "UnitProcs", BrightnessText(model_.Colour(state, 1).Brightness).c_str());
        legend_->ShowBrightness(state, block[ColourOffset(1, state) + ColourIntensity], brightness);
    }
    controlPanel_->ShowFunctions(block[ConfigMODE17], block[ConfigMODE18]);
    memoryMap_->RefreshMemoryMap();
}

void TFormEdit::ShowStatus(const StatusBlock& status) {
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        const std::uint8_t state = status[StatusStateOffset(channel)];
        strips_[std::size_t(channel)]->ShowState(state,
                                                 model_.Colour(state & 3, channel).DisplayColor);
    }
    controlPanel_->ShowKeyStates(status[StatusSTATE17], status[StatusSTATE18]);
    legend_->ShowLockState(status[StatusLOCKSTATE] != 0);
}

void TFormEdit::SendConfiguration() {
    Post(model_.RequestSend());
}

void TFormEdit::MsgLinkEndedHandler() {
    // The link may end while the editor sends its last edits; it closes then.
    const bool closing = model_.CurrentMode() == EditorMode::Closing;
    GoOffline();
    const TLinkOutcome& link = deviceThread_->Outcome();
    if (!link.StoppedOnRequest && link.LinkResult != LinkOk) {
        const std::string text = LinkFailureText(link.LinkResult, link.IoStatus, link.ErrorByte,
                                                 link.LastCommand, link.LastReply);
        Dialogs::ShowMessage(this, QString::fromStdString(text), tr("Error"),
                             Dialogs::Icon::Warning);
    }
    if (!closing) {
        reject();
    }
}
