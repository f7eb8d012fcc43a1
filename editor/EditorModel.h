// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "editor/EditHistory.h"
#include "editor/EditorModes.h"
#include "model/DeviceBlocks.h"
#include "model/TestScript.h"
#include "model/UnitProcs.h"

#include <QCoreApplication>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A block to post to the panel with command 4, or none: the edit was refused
// (offline, a channel the panel lacks) or waits for the panel's read-back.
using PostedBlock = std::optional<ConfigBlock>;

// A GPIO output to set on the panel: on (1) or off (0).
struct GpioCommand {
    int channel = 0;
    int state = 0;
    bool operator==(const GpioCommand&) const = default;
};

// What the editor knows of the opened panel and every rule for editing it,
// without a widget: the editor's mode and its answer to every input, the
// configuration with the user's edits, the present channels, the colour entries,
// the memory links, the gate that sends one block at a time and keeps the latest
// edit, the held GPIO output and the panel test's steps. The editor window
// forwards input here, enables its controls from the answers and draws what
// this holds.
class EditorModel {
    Q_DECLARE_TR_FUNCTIONS(EditorModel)

public:
    // --- the mode, and what it does with each input
    EditorMode CurrentMode() const { return mode_; }
    // The mode's rule, refined by the history, the send gate, the test and the
    // memory map: accepted, deferred until the panel's read-back, or refused with
    // the reason.
    InputAnswer Decide(EditorInput input) const;
    // Offline: the link starts and the panel's configuration is awaited.
    void LinkStarted();
    // The editor closes: ends a running test; what is pending is still sent.
    // False when a close is already under way.
    bool BeginClosing();
    // Any mode: the link has ended. Drops the test and anything waiting to be sent.
    void GoOffline();
    // The panel's configuration is known: editing, testing or closing.
    bool Online() const;

    // --- the opened panel
    void SetChannelMask(const std::string& maskText);
    const ChannelFlags& ChannelPresent() const { return present_; }

    // --- the editor's copy: the block last read from the panel, sent or loaded
    const ConfigBlock& Configuration() const { return block_; }
    // --- the values shown, with the user's edits not yet sent
    int Mode(int channel) const;
    int Group(int channel) const;
    // In tenths of a second, as the panel stores it.
    int DurationTenths(int channel) const;
    const ColourEntry& Colour(int state, int channel) const { return colours_[state][channel]; }
    bool MemoryLink(int slot, int member) const { return memoryLinks_[slot][member]; }
    bool MemorySlotEnabled(int slot) const { return memoryEnabled_[slot]; }

    // --- the panel's replies
    struct ReplyOutcome {
        bool configurationApplied = false; // the window redraws the configuration
        StatusBlock status{};              // the window shows the live state
        PostedBlock post;                  // the edit that waited for this read-back
    };
    ReplyOutcome ReceiveReply(std::uint8_t replyCode, const std::vector<std::uint8_t>& payload);
    // Takes a configuration read from the panel as the editor's own; the first
    // one starts the editing.
    void ApplyConfiguration(const ConfigBlock& block);

    // --- the send gate: one block on its way at a time, the latest edit kept
    bool SendPending() const { return sendPending_; }
    bool ConfigReceived() const { return readBacksAwaited_ == 0; }
    // Nothing waits to be sent and the last block sent has been read back.
    bool Settled() const { return !sendPending_ && ConfigReceived(); }
    // The configuration with every edit, when the gate is open; else the edit waits.
    PostedBlock RequestSend();
    // A loaded block replaces the configuration and any edit still waiting; it
    // is one step of the history, called `name` (none: an undo or redo, whose
    // step the history already holds).
    ConfigBlock LoadBlock(const ConfigBlock& block, const QString& name);

    // --- edits; each gives the block to post
    PostedBlock SetMode(int channel, int mode);
    // The mode to every channel, or to those in the source channel's group.
    PostedBlock SetModeForAll(int source, int mode, bool sameGroupOnly);
    PostedBlock SetGroup(int channel, int group);
    PostedBlock SetDuration(int channel, int tenths);
    // The source channel's duration to every channel in Pulse mode, or to those of its group.
    PostedBlock SetDurationForAll(int source, bool sameGroupOnly);
    PostedBlock SetColour(int state, int channel, int slot, ScreenColour customColour);
    // One brightness for a signal state on every channel.
    PostedBlock SetBrightnessForAll(int state, std::uint8_t level);
    // The source channel's colour of `state` (or of all four states) to every
    // channel, or to those of its group.
    PostedBlock CopyColours(int state, int source, bool allStates, bool sameGroupOnly);
    // Column 0: the slot on or off; else the member channel in or out of the
    // slot. Only while the memory map is shown.
    PostedBlock ToggleMemoryCell(int row, int column);
    void SetMemoryMapShown(bool shown) { memoryMapShown_ = shown; }
    bool MemoryMapShown() const { return memoryMapShown_; }

    // --- the GPIO outputs the user holds: one at a time, released on its own channel
    // A press releases another held output first.
    std::vector<GpioCommand> PressGpio(int channel);
    // The held output's release, if one is held.
    std::optional<GpioCommand> ReleaseGpio();
    std::optional<int> HeldGpio() const { return heldGpio_; }
    // `key` 1 or 2.
    PostedBlock SetKeyFunction(int key, int function);
    PostedBlock SetRestoreOnPowerUp(bool restore);
    PostedBlock SetKeyLock(bool installed);
    bool SameGroup(int channel, int source) const;

    // --- the history: each edit the panel has read back is one step
    const EditHistory& History() const { return history_; }
    // The configuration as it was before the last step, or after the last step
    // undone. While a write is on its way the undo waits for its read-back; none
    // while offline or while the panel test runs.
    PostedBlock Undo();
    PostedBlock Redo();
    // What the panel held when the editor opened, as one step.
    PostedBlock Revert();
    bool CanRevert() const;
    // The configuration from before the last panel test, with the edits the
    // user made during it, as one step.
    PostedBlock RestoreBeforeTest();
    // A link that ends during the test leaves the panel with the test's colours:
    // when the same panel (by its serial number) is opened again, its
    // configuration from before the test is offered once.
    void SetPanelSerial(std::string serial) { serial_ = std::move(serial); }
    bool HasInterruptedTest() const { return interruptedTests_.count(serial_) != 0; }
    // That configuration as one step (`restore`), or forgotten.
    PostedBlock RestoreInterruptedTest(bool restore);
    // The clock that tells bursts of one edit apart (tests set their own).
    void SetClock(std::function<std::chrono::steady_clock::time_point()> clock);

    // --- the panel test
    // Editing only; false where the test may not start. Builds the test script.
    bool StartTest();
    // The steps not yet run are dropped.
    void ClearTestScript() { testSteps_.reset(); }
    bool TestPrepared() const { return testSteps_ != nullptr; }
    // The test runs from StartTest until EndTest; its remaining steps are kept.
    // Once the panel has read back its last configuration, the test is one step
    // of the history ("Panel test"), the edits made during it folded in.
    bool TestRunning() const { return mode_ == EditorMode::Testing; }
    void EndTest();
    std::size_t TestStepsLeft() const { return testSteps_ ? testSteps_->size() : 0; }
    // The next step once the gate is open; a configuration step closes the gate
    // until the panel has read it back.
    std::optional<TestStep> NextTestStep();

private:
    static bool IsChannel(int channel) { return channel >= 1 && channel <= ChannelCount; }
    static bool IsState(int state) { return state >= 0 && state < 4; }
    std::uint8_t& Field(int channel, std::size_t field) {
        return edited_[RecordOffset(channel) + field];
    }
    // Packs every edit into the block as the panel stores it.
    void ComposeBlock();
    void BuildTestScript();
    // The ended test as one step of the history, once the panel holds its end.
    void RecordTestStepWhenSettled();
    // An edit called `name`, sent now or when the gate opens.
    PostedBlock Send(const QString& name);
    // Runs `action` now when no write is on its way, else after its read-back.
    PostedBlock WhenSettled(std::function<PostedBlock()> action);
    ConfigBlock BeforeTestWithEdits() const;
    // An answer refined beyond the mode's rule, for the inputs that ask the state.
    InputAnswer DecideByState(EditorInput input) const;
    // The step before (undo) or after (redo) the history's current place.
    PostedBlock Replay(bool undo);

    EditorMode mode_ = EditorMode::Offline;
    ChannelFlags present_{};
    bool memoryMapShown_ = false;
    std::optional<int> heldGpio_;
    ConfigBlock block_{};
    ConfigBlock edited_{};
    // What the panel holds as far as the editor knows: read back or sent last.
    ConfigBlock panelHolds_{};
    std::array<std::array<ColourEntry, ChannelCount + 1>, 4> colours_{};
    std::array<std::array<bool, ChannelCount + 1>, ChannelCount + 1> memoryLinks_{};
    std::array<bool, ChannelCount + 1> memoryEnabled_{};
    bool sendPending_ = false;
    // Blocks written whose read-back has not come yet. A load is written at once,
    // also while an edit's block is on its way: the read-back of the earlier
    // write then comes first and is not the loaded block's.
    int readBacksAwaited_ = 0;
    std::unique_ptr<TestScript> testSteps_;
    EditHistory history_;
    QString pendingName_;              // the edit waiting for the gate
    std::optional<EditStep> inFlight_; // sent, recorded once read back
    std::function<PostedBlock()> deferred_;
    std::optional<ConfigBlock> opened_; // read when the editor opened
    std::optional<ConfigBlock> beforeTest_;
    std::size_t stepsBeforeTest_ = 0;
    std::map<std::size_t, std::uint8_t> editsInTest_; // bytes the user set during the test
    std::string serial_;
    std::map<std::string, ConfigBlock> interruptedTests_;
    bool testStepDue_ = false;
    std::function<std::chrono::steady_clock::time_point()> clock_ = [] {
        return std::chrono::steady_clock::now();
    };
};
