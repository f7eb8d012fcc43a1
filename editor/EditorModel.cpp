// SPDX-License-Identifier: Apache-2.0
#include "editor/EditorModel.h"

#include "link/WireProtocol.h"

#include <QCoreApplication>

#include <algorithm>
#include <utility>

namespace {

// The duration field offers 0.1 to 2.0 s; a panel's value outside shows, and
// goes back, clamped.
constexpr int ShortestDuration = 1;
constexpr int LongestDuration = 20;

} // namespace

void EditorModel::SetChannelMask(const std::string& maskText) {
    present_ = ParseChannelMask(maskText);
}

bool EditorModel::Online() const {
    return mode_ == EditorMode::Editing || mode_ == EditorMode::Testing ||
           mode_ == EditorMode::Closing;
}

InputAnswer EditorModel::Decide(EditorInput input) const {
    const InputAnswer rule = ModeRule(mode_, input);
    return rule.Accepted() ? DecideByState(input) : rule;
}

InputAnswer EditorModel::DecideByState(EditorInput input) const {
    using enum EditorInput;
    switch (input) {
    case Undo:
        if (!history_.CanUndo()) {
            return {Verdict::Refused, tr("Nothing to undo")};
        }
        break;
    case Redo:
        if (!history_.CanRedo()) {
            return {Verdict::Refused, tr("Nothing to redo")};
        }
        break;
    case Revert:
        if (!opened_ || *opened_ == panelHolds_) {
            return {Verdict::Refused, tr("The panel holds the configuration read at open")};
        }
        break;
    case RestoreBeforeTest:
        if (!beforeTest_) {
            return {Verdict::Refused, tr("No panel test to restore from")};
        }
        break;
    case MemoryToggle:
        if (!memoryMapShown_) {
            return {Verdict::Refused, tr("The memory map is hidden")};
        }
        break;
    case GpioRelease:
        if (!heldGpio_) {
            return {Verdict::Refused, tr("No GPIO output is held")};
        }
        break;
    default:
        return {Verdict::Accepted, {}};
    }
    // A step of the history is written once the last write has been read back.
    if (input != MemoryToggle && input != GpioRelease && !Settled()) {
        return {Verdict::Deferred, tr("Waits for the panel to read back the last change")};
    }
    return {Verdict::Accepted, {}};
}

void EditorModel::LinkStarted() {
    if (mode_ == EditorMode::Offline) {
        mode_ = EditorMode::Reading;
    }
}

bool EditorModel::BeginClosing() {
    if (Decide(EditorInput::Close).verdict != Verdict::Accepted) {
        return false;
    }
    if (mode_ == EditorMode::Testing) {
        EndTest();
    }
    if (mode_ != EditorMode::Offline) {
        mode_ = EditorMode::Closing;
    }
    return true;
}

void EditorModel::GoOffline() {
    if (mode_ == EditorMode::Testing && beforeTest_) {
        interruptedTests_[serial_] = BeforeTestWithEdits();
    }
    mode_ = EditorMode::Offline;
    heldGpio_.reset();
    ClearTestScript();
    sendPending_ = false;
    readBacksAwaited_ = 0;
    // The history belongs to one open editor; a step the panel did not read
    // back is not one.
    history_.Clear();
    pendingName_.clear();
    inFlight_.reset();
    deferred_ = nullptr;
    opened_.reset();
    beforeTest_.reset();
    editsInTest_.clear();
    testStepDue_ = false;
}

int EditorModel::Mode(int channel) const {
    return edited_[RecordOffset(channel) + RecordMODE];
}

int EditorModel::Group(int channel) const {
    return edited_[RecordOffset(channel) + RecordGROUP];
}

int EditorModel::DurationTenths(int channel) const {
    return edited_[RecordOffset(channel) + RecordDURATION];
}

EditorModel::ReplyOutcome EditorModel::ReceiveReply(std::uint8_t replyCode,
                                                    const std::vector<std::uint8_t>& payload) {
    ConfigReply buffer{};
    const std::size_t length =
        replyCode == CmdReadConfig ? ConfigReplySize : std::size_t(StatusBlockSize);
    std::copy_n(payload.begin(), std::min(length, payload.size()), buffer.begin());

    ReplyOutcome outcome;
    outcome.status = StatusPartOf(buffer);
    if (replyCode == CmdReadConfig && readBacksAwaited_ > 1) {
        // An earlier write's read-back: the later block is still on its way.
        --readBacksAwaited_;
        return outcome;
    }
    if (replyCode == CmdReadConfig) {
        readBacksAwaited_ = 0;
        if (inFlight_) {
            if (TestRunning()) {
                for (std::size_t i = 0; i < ConfigBlockSize; ++i) {
                    if (inFlight_->before[i] != inFlight_->after[i]) {
                        editsInTest_[i] = inFlight_->after[i];
                    }
                }
            }
            history_.Record(*inFlight_);
            inFlight_.reset();
        }
        // An edit made since the send wins over the panel's read-back.
        if (!sendPending_) {
            ApplyConfiguration(ConfigPartOf(buffer));
            outcome.configurationApplied = true;
            if (!opened_) {
                opened_ = block_;
            }
        }
    }
    RecordTestStepWhenSettled();
    if (sendPending_) {
        outcome.post = RequestSend();
    }
    if (!outcome.post && deferred_ && Settled()) {
        outcome.post = std::exchange(deferred_, nullptr)();
    }
    return outcome;
}

void EditorModel::ApplyConfiguration(const ConfigBlock& block) {
    if (mode_ == EditorMode::Offline || mode_ == EditorMode::Reading) {
        mode_ = EditorMode::Editing;
    }
    block_ = block;
    panelHolds_ = block;
    edited_ = block;
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        for (int state = 0; state < 4; ++state) {
            colours_[state][channel] = ColourEntryOf(block, channel, state);
        }
    }
    for (int slot = 1; slot <= ChannelCount; ++slot) {
        for (int member = 1; member <= ChannelCount; ++member) {
            const int byte = (member - 1) / 4;
            const int bit = (member - 1) % 4;
            memoryLinks_[slot][member] = present_[slot] && present_[member] &&
                                         ((block[MemoryByteOffset(slot, byte)] >> bit) & 1);
        }
        memoryEnabled_[slot] = present_[slot] && block[RecordOffset(slot) + RecordISMEM] == 1;
    }
}

void EditorModel::ComposeBlock() {
    edited_[ConfigSAVE] = edited_[ConfigSAVE] != 0 ? 1 : 0;
    edited_[ConfigLOCK] = edited_[ConfigLOCK] != 0 ? 1 : 0;
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        Field(channel, RecordCHANNEL) = std::uint8_t(channel);
        // A mode the panel reported but the editor does not know shows no button
        // down, which reads as Free.
        if (Mode(channel) > ModePulse) {
            Field(channel, RecordMODE) = ModeFree;
        }
        Field(channel, RecordDURATION) =
            std::uint8_t(std::clamp(DurationTenths(channel), ShortestDuration, LongestDuration));
        for (int state = 0; state < 4; ++state) {
            const DeviceColour bytes = EncodeColourEntry(colours_[state][channel]);
            std::copy(bytes.begin(), bytes.end(), edited_.begin() + ColourOffset(channel, state));
        }
    }
    for (int slot = 1; slot <= ChannelCount; ++slot) {
        for (int byte = 0; byte < 4; ++byte) {
            std::uint8_t bits = 0;
            for (int bit = 0; bit < 4; ++bit) {
                const int member = 4 * byte + bit + 1;
                if (present_[slot] && present_[member] && memoryLinks_[slot][member]) {
                    bits = std::uint8_t(bits | (1 << bit));
                }
            }
            edited_[MemoryByteOffset(slot, byte)] = bits;
        }
        Field(slot, RecordISMEM) = present_[slot] && memoryEnabled_[slot] ? 1 : 0;
    }
}

PostedBlock EditorModel::RequestSend() {
    sendPending_ = true;
    if (!ConfigReceived()) {
        return std::nullopt;
    }
    const ConfigBlock before = panelHolds_;
    ComposeBlock();
    block_ = edited_;
    panelHolds_ = block_;
    sendPending_ = false;
    ++readBacksAwaited_;
    if (!pendingName_.isEmpty() && block_ != before) {
        inFlight_ = EditStep{pendingName_, before, block_, clock_()};
    }
    pendingName_.clear();
    return block_;
}

PostedBlock EditorModel::Send(const QString& name) {
    pendingName_ = name;
    return RequestSend();
}

ConfigBlock EditorModel::LoadBlock(const ConfigBlock& block, const QString& name) {
    const ConfigBlock before = panelHolds_;
    ApplyConfiguration(block);
    // An edit still waiting would otherwise overwrite the written block on the
    // panel once its read-back arrives.
    sendPending_ = false;
    ++readBacksAwaited_;
    pendingName_.clear();
    inFlight_.reset();
    if (!name.isEmpty() && block_ != before) {
        inFlight_ = EditStep{name, before, block_, clock_()};
    }
    return block_;
}

PostedBlock EditorModel::WhenSettled(std::function<PostedBlock()> action) {
    if (Settled()) {
        return action();
    }
    // No two configuration writes on their way: this one follows the read-back.
    deferred_ = std::move(action);
    return std::nullopt;
}

PostedBlock EditorModel::Replay(bool undo) {
    const EditorInput input = undo ? EditorInput::Undo : EditorInput::Redo;
    if (Decide(input).Refused()) {
        return std::nullopt;
    }
    // Asked again when it runs: the link may have ended or a test begun meanwhile;
    // an editor that closes still sends it.
    return WhenSettled([this, undo, input]() -> PostedBlock {
        const InputAnswer again =
            ModeRule(mode_ == EditorMode::Closing ? EditorMode::Editing : mode_, input);
        if (again.Refused() || !(undo ? history_.CanUndo() : history_.CanRedo())) {
            return std::nullopt;
        }
        return LoadBlock(undo ? history_.TakeUndo().before : history_.TakeRedo().after, QString());
    });
}

PostedBlock EditorModel::Undo() {
    return Replay(true);
}

PostedBlock EditorModel::Redo() {
    return Replay(false);
}

bool EditorModel::CanRevert() const {
    return !Decide(EditorInput::Revert).Refused();
}

PostedBlock EditorModel::Revert() {
    if (!CanRevert()) {
        return std::nullopt;
    }
    return WhenSettled([this]() -> PostedBlock {
        return LoadBlock(*opened_, tr("Revert to the configuration read at open"));
    });
}

PostedBlock EditorModel::RestoreBeforeTest() {
    if (Decide(EditorInput::RestoreBeforeTest).Refused()) {
        return std::nullopt;
    }
    return WhenSettled([this]() -> PostedBlock {
        return LoadBlock(BeforeTestWithEdits(), tr("Configuration from before the panel test"));
    });
}

ConfigBlock EditorModel::BeforeTestWithEdits() const {
    ConfigBlock restored = beforeTest_.value_or(panelHolds_);
    for (const auto& [offset, value] : editsInTest_) {
        restored[offset] = value;
    }
    return restored;
}

PostedBlock EditorModel::RestoreInterruptedTest(bool restore) {
    const auto found = interruptedTests_.find(serial_);
    if (found == interruptedTests_.end() || (restore && Decide(EditorInput::Edit).Refused())) {
        return std::nullopt;
    }
    const ConfigBlock restored = found->second;
    interruptedTests_.erase(found);
    if (!restore) {
        return std::nullopt;
    }
    return WhenSettled([this, restored]() -> PostedBlock {
        return LoadBlock(restored, tr("Configuration from before the panel test"));
    });
}

void EditorModel::EndTest() {
    if (mode_ != EditorMode::Testing) {
        return;
    }
    mode_ = EditorMode::Editing;
    testStepDue_ = true;
    RecordTestStepWhenSettled();
}

void EditorModel::RecordTestStepWhenSettled() {
    if (!testStepDue_ || TestRunning() || !Settled() || readBacksAwaited_ > 0 || !beforeTest_) {
        return;
    }
    testStepDue_ = false;
    history_.DropNewerThan(stepsBeforeTest_);
    if (panelHolds_ != *beforeTest_) {
        history_.Record({tr("Panel test"), *beforeTest_, panelHolds_, clock_()});
    }
}

void EditorModel::SetClock(std::function<std::chrono::steady_clock::time_point()> clock) {
    clock_ = std::move(clock);
}

bool EditorModel::SameGroup(int channel, int source) const {
    return Group(channel) == Group(source);
}

PostedBlock EditorModel::SetMode(int channel, int mode) {
    if (Decide(EditorInput::Edit).Refused() || !IsChannel(channel) || mode < ModeFree ||
        mode > ModePulse) {
        return std::nullopt;
    }
    Field(channel, RecordMODE) = std::uint8_t(mode);
    return Send(tr("Mode of channel %1").arg(channel));
}

PostedBlock EditorModel::SetModeForAll(int source, int mode, bool sameGroupOnly) {
    if (Decide(EditorInput::Edit).Refused() || !IsChannel(source) || mode < ModeFree ||
        mode > ModePulse) {
        return std::nullopt;
    }
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        if (!sameGroupOnly || SameGroup(channel, source)) {
            Field(channel, RecordMODE) = std::uint8_t(mode);
        }
    }
    return Send(sameGroupOnly ? tr("Mode to the same group") : tr("Mode to all channels"));
}

PostedBlock EditorModel::SetGroup(int channel, int group) {
    if (Decide(EditorInput::Edit).Refused() || !IsChannel(channel) || group < 0 ||
        group > ChannelCount) {
        return std::nullopt;
    }
    Field(channel, RecordGROUP) = std::uint8_t(group);
    return Send(tr("Group of channel %1").arg(channel));
}

PostedBlock EditorModel::SetDuration(int channel, int tenths) {
    if (Decide(EditorInput::Edit).Refused() || !IsChannel(channel)) {
        return std::nullopt;
    }
    Field(channel, RecordDURATION) =
        std::uint8_t(std::clamp(tenths, ShortestDuration, LongestDuration));
    return Send(tr("Duration of channel %1").arg(channel));
}

PostedBlock EditorModel::SetDurationForAll(int source, bool sameGroupOnly) {
    if (Decide(EditorInput::Edit).Refused() || !IsChannel(source)) {
        return std::nullopt;
    }
    const auto tenths =
        std::uint8_t(std::clamp(DurationTenths(source), ShortestDuration, LongestDuration));
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        if (Mode(channel) == ModePulse && (!sameGroupOnly || SameGroup(channel, source))) {
            Field(channel, RecordDURATION) = tenths;
        }
    }
    return Send(sameGroupOnly ? tr("Duration to the same group") : tr("Duration to all channels"));
}

PostedBlock EditorModel::SetColour(int state, int channel, int slot, ScreenColour customColour) {
    if (Decide(EditorInput::Edit).Refused() || !IsState(state) || !IsChannel(channel) || slot < 1 ||
        slot > OffSlot) {
        return std::nullopt;
    }
    ColourEntry& entry = colours_[state][channel];
    SetColourEntry(entry, slot, slot == CustomSlot ? customColour : ColourPalette[slot],
                   entry.Brightness);
    return Send(tr("Colour of channel %1").arg(channel));
}

PostedBlock EditorModel::SetBrightnessForAll(int state, std::uint8_t level) {
    if (Decide(EditorInput::Edit).Refused() || !IsState(state)) {
        return std::nullopt;
    }
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        colours_[state][channel].Brightness = level;
    }
    return Send(tr("Brightness"));
}

PostedBlock EditorModel::CopyColours(int state, int source, bool allStates, bool sameGroupOnly) {
    if (Decide(EditorInput::Edit).Refused() || !IsState(state) || !IsChannel(source)) {
        return std::nullopt;
    }
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        if (sameGroupOnly && !SameGroup(channel, source)) {
            continue;
        }
        for (int copied = 0; copied < 4; ++copied) {
            if (allStates || copied == state) {
                colours_[copied][channel] = colours_[copied][source];
            }
        }
    }
    return Send(tr("Copy colours"));
}

PostedBlock EditorModel::ToggleMemoryCell(int row, int column) {
    // Without a configuration read from the panel there is nothing to edit.
    if (Decide(EditorInput::MemoryToggle).Refused() || !IsChannel(row) || column < 0 ||
        column > ChannelCount || !present_[row]) {
        return std::nullopt;
    }
    if (column == 0) {
        memoryEnabled_[row] = !memoryEnabled_[row];
    } else if (present_[column] && memoryEnabled_[row]) {
        memoryLinks_[row][column] = !memoryLinks_[row][column];
    } else {
        return std::nullopt;
    }
    return Send(tr("Memory map"));
}

PostedBlock EditorModel::SetKeyFunction(int key, int function) {
    if (Decide(EditorInput::Edit).Refused() || (key != 1 && key != 2) || function < 0 ||
        function > 0xFF) {
        return std::nullopt;
    }
    // The key's function goes into the editor's copy at once: the keys are
    // coloured by it until the panel's read-back arrives.
    const std::size_t field = key == 1 ? ConfigMODE17 : ConfigMODE18;
    block_[field] = std::uint8_t(function);
    edited_[field] = std::uint8_t(function);
    return Send(tr("F%1 function").arg(key));
}

PostedBlock EditorModel::SetRestoreOnPowerUp(bool restore) {
    if (Decide(EditorInput::Edit).Refused()) {
        return std::nullopt;
    }
    edited_[ConfigSAVE] = restore ? 1 : 0;
    return Send(tr("Restore GPIO state on Power up"));
}

PostedBlock EditorModel::SetKeyLock(bool installed) {
    if (Decide(EditorInput::Edit).Refused()) {
        return std::nullopt;
    }
    edited_[ConfigLOCK] = installed ? 1 : 0;
    return Send(tr("Keylock installed"));
}

std::vector<GpioCommand> EditorModel::PressGpio(int channel) {
    if (Decide(EditorInput::GpioPress).Refused() || !IsChannel(channel) || !present_[channel]) {
        return {};
    }
    std::vector<GpioCommand> commands;
    if (heldGpio_ && *heldGpio_ != channel) {
        commands.push_back({*heldGpio_, 0});
    }
    heldGpio_ = channel;
    commands.push_back({channel, 1});
    return commands;
}

std::optional<GpioCommand> EditorModel::ReleaseGpio() {
    // Every focus change of a GPIO button comes here: nothing held, nothing to decide.
    if (!heldGpio_ || Decide(EditorInput::GpioRelease).Refused()) {
        return std::nullopt;
    }
    return GpioCommand{*std::exchange(heldGpio_, std::nullopt), 0};
}

bool EditorModel::StartTest() {
    if (Decide(EditorInput::StartTest).Refused()) {
        return false;
    }
    mode_ = EditorMode::Testing;
    beforeTest_ = panelHolds_;
    stepsBeforeTest_ = history_.UndoCount();
    editsInTest_.clear();
    testStepDue_ = false;
    BuildTestScript();
    return true;
}

void EditorModel::BuildTestScript() {
    testSteps_ = std::make_unique<TestScript>(MakeTestScript(present_));
}

std::optional<TestStep> EditorModel::NextTestStep() {
    if (!testSteps_ || testSteps_->empty() || !Settled()) {
        return std::nullopt;
    }
    TestStep step = std::move(testSteps_->front());
    testSteps_->pop_front();
    if (step.Kind == TestStepKind::WriteConfig) {
        ++readBacksAwaited_;
    }
    return step;
}
