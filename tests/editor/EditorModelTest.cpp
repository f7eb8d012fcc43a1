// SPDX-License-Identifier: Apache-2.0
#include "editor/EditorModel.h"
#include "link/WireProtocol.h"
#include "model/SettingsFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

DeviceColour ColourIn(const ConfigBlock& block, int channel, int state) {
    const std::size_t at = ColourOffset(channel, state);
    return {block[at], block[at + 1], block[at + 2], block[at + 3]};
}

std::uint8_t FieldOf(const ConfigBlock& block, int channel, std::size_t field) {
    return block[RecordOffset(channel) + field];
}

bool Member(const ConfigBlock& block, int slot, int member) {
    return (block[MemoryByteOffset(slot, (member - 1) / 4)] >> ((member - 1) % 4)) & 1;
}

// The panel's read-back of `block` with command 3, as the link delivers it.
std::vector<std::uint8_t> ReadBack(const ConfigBlock& block) {
    std::vector<std::uint8_t> payload(ConfigReplySize, 0);
    std::copy(block.begin(), block.end(), payload.begin() + StatusBlockSize);
    return payload;
}

bool Contains(const std::vector<int>& channels, int channel) {
    return std::find(channels.begin(), channels.end(), channel) != channels.end();
}

// An online model with a read configuration: factory values, then `change`.
class EditorModelTest : public ::testing::Test {
protected:
    void Open(const std::string& mask = "FFFF",
              const std::function<void(ConfigBlock&)>& change = {}) {
        model.SetChannelMask(mask);
        LoadFactoryValues(panelBlock);
        if (change) {
            change(panelBlock);
        }
        model.LinkStarted();
        model.ApplyConfiguration(panelBlock);
    }
    // The panel reads back what it was sent; gives what the model posts then.
    PostedBlock Answer(const ConfigBlock& sent) {
        return model.ReceiveReply(CmdReadConfig, ReadBack(sent)).post;
    }

    EditorModel model;
    ConfigBlock panelBlock{};
};

TEST_F(EditorModelTest, OneBlockAtATimeAndTheLatestEditWaitsForTheReadBack) {
    Open();
    const PostedBlock first = model.SetGroup(1, 5);
    ASSERT_TRUE(first);
    EXPECT_EQ(FieldOf(*first, 1, RecordGROUP), 5);
    EXPECT_FALSE(model.ConfigReceived());

    EXPECT_FALSE(model.SetGroup(1, 6)) << "held until the first is read back";
    EXPECT_FALSE(model.SetMode(2, ModeFixed)) << "collapses into the one waiting send";
    EXPECT_TRUE(model.SendPending());

    const EditorModel::ReplyOutcome outcome = model.ReceiveReply(CmdReadConfig, ReadBack(*first));
    EXPECT_FALSE(outcome.configurationApplied) << "the waiting edit wins over the read-back";
    ASSERT_TRUE(outcome.post);
    EXPECT_EQ(FieldOf(*outcome.post, 1, RecordGROUP), 6);
    EXPECT_EQ(FieldOf(*outcome.post, 2, RecordMODE), ModeFixed);

    const EditorModel::ReplyOutcome last =
        model.ReceiveReply(CmdReadConfig, ReadBack(*outcome.post));
    EXPECT_TRUE(last.configurationApplied);
    EXPECT_FALSE(last.post);
    EXPECT_TRUE(model.Settled());

    // A status reply leaves the gate as it is.
    EXPECT_TRUE(model.SetGroup(3, 2));
    const EditorModel::ReplyOutcome status = model.ReceiveReply(CmdPollStatus, {0, 0, 0});
    EXPECT_FALSE(status.configurationApplied);
    EXPECT_FALSE(status.post);
    EXPECT_FALSE(model.ConfigReceived());
}

TEST_F(EditorModelTest, ALoadedBlockReplacesTheWaitingEdit) {
    Open();
    const PostedBlock first = model.SetGroup(1, 5);
    ASSERT_TRUE(first);
    EXPECT_FALSE(model.SetMode(3, ModePulse));
    ConfigBlock loaded;
    LoadFactoryValues(loaded);
    loaded[RecordOffset(4) + RecordGROUP] = 9;
    const ConfigBlock sent = model.LoadBlock(loaded, "Load");
    EXPECT_EQ(FieldOf(sent, 4, RecordGROUP), 9);
    EXPECT_FALSE(model.SendPending());
    // The group's block was on its way when the load was written: its read-back
    // comes first and is not the loaded block's.
    const EditorModel::ReplyOutcome earlier = model.ReceiveReply(CmdReadConfig, ReadBack(*first));
    EXPECT_FALSE(earlier.configurationApplied);
    EXPECT_FALSE(earlier.post);
    EXPECT_FALSE(model.Settled()) << "the loaded block is not read back yet";
    EXPECT_EQ(model.Configuration(), sent);
    EXPECT_FALSE(Answer(sent)) << "the edit made before the load is not sent over it";
    EXPECT_TRUE(model.Settled());
    EXPECT_EQ(model.Mode(3), ModeFree);

    // An edit made while the loaded block is on its way builds on the loaded block.
    const ConfigBlock again = model.LoadBlock(loaded, "Load");
    EXPECT_FALSE(model.SetMode(5, ModeFixed));
    const PostedBlock edited = Answer(again);
    ASSERT_TRUE(edited);
    EXPECT_EQ(FieldOf(*edited, 4, RecordGROUP), 9);
    EXPECT_EQ(FieldOf(*edited, 5, RecordMODE), ModeFixed);
}

TEST_F(EditorModelTest, TheEditorsCopyIsTheBlockLastReadSentOrLoaded) {
    Open();
    const PostedBlock sent = model.SetGroup(1, 5);
    ASSERT_TRUE(sent);
    EXPECT_FALSE(model.SetGroup(2, 7));
    EXPECT_EQ(model.Group(2), 7) << "shown at once";
    EXPECT_EQ(FieldOf(model.Configuration(), 2, RecordGROUP), 0) << "not yet sent";
    EXPECT_FALSE(model.SetKeyFunction(1, 2));
    EXPECT_EQ(model.Configuration()[ConfigMODE17], 2) << "a key's function at once";
    Answer(*sent);
    EXPECT_EQ(FieldOf(model.Configuration(), 2, RecordGROUP), 7);
}

TEST_F(EditorModelTest, EveryEditIsRefusedOfflineAndOutsideTheChannels) {
    model.SetChannelMask("FFFF");
    LoadFactoryValues(panelBlock);
    model.ApplyConfiguration(panelBlock);
    model.SetMemoryMapShown(true);
    model.GoOffline();
    const std::pair<const char*, std::function<PostedBlock()>> edits[] = {
        {"mode", [&] { return model.SetMode(1, ModeFixed); }},
        {"mode to all", [&] { return model.SetModeForAll(1, ModeFixed, false); }},
        {"group", [&] { return model.SetGroup(1, 3); }},
        {"duration", [&] { return model.SetDuration(1, 5); }},
        {"duration to all", [&] { return model.SetDurationForAll(1, false); }},
        {"colour", [&] { return model.SetColour(0, 1, 3, 0); }},
        {"brightness", [&] { return model.SetBrightnessForAll(0, 50); }},
        {"copy", [&] { return model.CopyColours(0, 1, true, false); }},
        {"memory", [&] { return model.ToggleMemoryCell(1, 0); }},
        {"key function", [&] { return model.SetKeyFunction(1, 2); }},
        {"restore", [&] { return model.SetRestoreOnPowerUp(true); }},
        {"key lock", [&] { return model.SetKeyLock(true); }},
    };
    for (const auto& [name, edit] : edits) {
        EXPECT_FALSE(edit()) << name << " offline";
    }
    model.ApplyConfiguration(panelBlock);
    const std::pair<const char*, std::function<PostedBlock()>> outside[] = {
        {"channel 0", [&] { return model.SetMode(0, ModeFixed); }},
        {"channel 17", [&] { return model.SetGroup(17, 1); }},
        {"mode 3", [&] { return model.SetMode(1, 3); }},
        {"group 17", [&] { return model.SetGroup(1, 17); }},
        {"state 4", [&] { return model.SetColour(4, 1, 3, 0); }},
        {"slot 13", [&] { return model.SetColour(0, 1, 13, 0); }},
        {"slot 0", [&] { return model.SetColour(0, 1, 0, 0); }},
        {"key 3", [&] { return model.SetKeyFunction(3, 1); }},
        {"copy from 0", [&] { return model.CopyColours(0, 0, false, false); }},
    };
    for (const auto& [name, edit] : outside) {
        EXPECT_FALSE(edit()) << name;
        EXPECT_FALSE(model.SendPending()) << name;
    }
}

TEST_F(EditorModelTest, TheSentBlockIsWhatThePanelCanStore) {
    Open("FF00", [](ConfigBlock& block) {
        block[RecordOffset(2) + RecordDURATION] = 0;
        block[RecordOffset(3) + RecordDURATION] = 30;
        block[RecordOffset(4) + RecordMODE] = 7;
        block[RecordOffset(5) + RecordCHANNEL] = 0;
        block[ConfigSAVE] = 5;
        // Slot 1 holds channels 2 and 12; slot 12 is enabled; both absent ones drop.
        block[RecordOffset(1) + RecordISMEM] = 1;
        block[MemoryByteOffset(1, 0)] = 0b0010;
        block[MemoryByteOffset(1, 2)] = 0b1000;
        block[RecordOffset(12) + RecordISMEM] = 1;
    });
    const PostedBlock sent = model.RequestSend();
    ASSERT_TRUE(sent);
    EXPECT_EQ(FieldOf(*sent, 2, RecordDURATION), 1) << "shown and sent as 0.1 s";
    EXPECT_EQ(FieldOf(*sent, 3, RecordDURATION), 20) << "shown and sent as 2.0 s";
    EXPECT_EQ(FieldOf(*sent, 4, RecordMODE), ModeFree) << "no mode button down";
    EXPECT_EQ(FieldOf(*sent, 5, RecordCHANNEL), 5);
    EXPECT_EQ((*sent)[ConfigSAVE], 1);
    EXPECT_TRUE(Member(*sent, 1, 2));
    EXPECT_FALSE(Member(*sent, 1, 12)) << "a channel the panel lacks";
    EXPECT_EQ(FieldOf(*sent, 12, RecordISMEM), 0);
    EXPECT_EQ(FieldOf(*sent, 1, RecordISMEM), 1);
}

TEST_F(EditorModelTest, ModeAndDurationGoToAllOrTheSameGroup) {
    Open("FFFF", [](ConfigBlock& block) {
        for (int channel : {2, 3, 9}) {
            block[RecordOffset(channel) + RecordMODE] = ModePulse;
        }
        for (int channel : {3, 9, 12}) {
            block[RecordOffset(channel) + RecordGROUP] = 4;
        }
        block[RecordOffset(3) + RecordDURATION] = 15;
    });
    struct Case {
        const char* name;
        std::function<PostedBlock()> edit;
        std::size_t field;
        int value;
        std::vector<int> changed;
    };
    const std::vector<int> all = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const Case cases[] = {
        {"duration to the group's Pulse channels",
         [&] { return model.SetDurationForAll(3, true); },
         RecordDURATION,
         15,
         {3, 9}},
        {"duration to every Pulse channel",
         [&] { return model.SetDurationForAll(3, false); },
         RecordDURATION,
         15,
         {2, 3, 9}},
        {"mode to the group",
         [&] { return model.SetModeForAll(9, ModeFixed, true); },
         RecordMODE,
         ModeFixed,
         {3, 9, 12}},
        {"mode to all", [&] { return model.SetModeForAll(1, ModePulse, false); }, RecordMODE,
         ModePulse, all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model.ApplyConfiguration(panelBlock);
        const PostedBlock sent = c.edit();
        ASSERT_TRUE(sent);
        for (int channel = 1; channel <= ChannelCount; ++channel) {
            const int before = FieldOf(panelBlock, channel, c.field);
            EXPECT_EQ(FieldOf(*sent, channel, c.field),
                      Contains(c.changed, channel) ? c.value : before)
                << "channel " << channel;
        }
        Answer(*sent);
    }
}

TEST_F(EditorModelTest, ColoursAreCopiedToAllOrTheSameGroup) {
    const DeviceColour source[4] = {{1, 2, 3, 4}, {10, 20, 30, 40}, {0, 0, 127, 127}, {5, 6, 7, 8}};
    struct Case {
        const char* name;
        std::vector<int> groupFive;
        std::vector<int> changed;
        bool allStates;
        bool sameGroupOnly;
    };
    const std::vector<int> all = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const Case cases[] = {
        {"one state to all", {}, all, false, false},
        {"one state to the group, everybody in group n/a", {}, all, false, true},
        {"one state to group 5", {2, 4, 9}, {2, 4, 9}, false, true},
        {"all states to all", {}, all, true, false},
        {"all states to group 5", {4, 16}, {4, 16}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        model = EditorModel();
        Open("FFFF", [&](ConfigBlock& block) {
            for (int state = 0; state < 4; ++state) {
                std::copy(source[state].begin(), source[state].end(),
                          block.begin() + ColourOffset(4, state));
            }
            for (int channel : c.groupFive) {
                block[RecordOffset(channel) + RecordGROUP] = 5;
            }
        });
        const PostedBlock sent = model.CopyColours(1, 4, c.allStates, c.sameGroupOnly);
        ASSERT_TRUE(sent);
        for (int channel = 1; channel <= ChannelCount; ++channel) {
            for (int state = 0; state < 4; ++state) {
                const bool copied = Contains(c.changed, channel) && (c.allStates || state == 1);
                EXPECT_EQ(ColourIn(*sent, channel, state),
                          copied ? source[state] : ColourIn(panelBlock, channel, state))
                    << "channel " << channel << " state " << state;
            }
        }
    }
}

TEST_F(EditorModelTest, MemoryCellsToggleOnlyWherePresentAndEnabled) {
    Open("FF00", [](ConfigBlock& block) {
        block[RecordOffset(1) + RecordISMEM] = 1;
        block[MemoryByteOffset(1, 0)] = 0b0110;
        block[MemoryByteOffset(2, 0)] = 0b0001;
    });
    EXPECT_FALSE(model.ToggleMemoryCell(1, 0)) << "the memory map is hidden";
    model.SetMemoryMapShown(true);
    struct Case {
        int row;
        int column;
        bool sent;
    };
    const Case refused[] = {{1, 12, false}, {2, 3, false},  {12, 0, false},
                            {0, 1, false},  {17, 0, false}, {1, 17, false}};
    for (const Case& c : refused) {
        EXPECT_FALSE(model.ToggleMemoryCell(c.row, c.column)) << c.row << "," << c.column;
    }
    PostedBlock sent = model.ToggleMemoryCell(1, 4);
    ASSERT_TRUE(sent);
    EXPECT_TRUE(Member(*sent, 1, 4));
    EXPECT_TRUE(Member(*sent, 1, 2));
    Answer(*sent);
    sent = model.ToggleMemoryCell(1, 0);
    ASSERT_TRUE(sent);
    EXPECT_EQ(FieldOf(*sent, 1, RecordISMEM), 0);
    EXPECT_TRUE(Member(*sent, 1, 4)) << "members stay with a disabled slot";
    Answer(*sent);
    EXPECT_FALSE(model.ToggleMemoryCell(1, 5)) << "a disabled slot's members stay";
    EXPECT_TRUE(model.MemoryLink(2, 1)) << "kept while its slot is disabled";
}

TEST_F(EditorModelTest, TestStepsWaitForEachConfigurationsReadBack) {
    Open("FF00");
    EXPECT_FALSE(model.NextTestStep()) << "no test prepared";
    model.StartTest();
    const std::size_t total = model.TestStepsLeft();
    ASSERT_GT(total, 0u);
    std::size_t taken = 0;
    while (const std::optional<TestStep> step = model.NextTestStep()) {
        ++taken;
        if (step->Kind == TestStepKind::WriteConfig) {
            EXPECT_FALSE(model.NextTestStep()) << "held until the panel reads it back";
            Answer(step->Block);
        }
    }
    EXPECT_EQ(taken, total);
    EXPECT_TRUE(model.TestPrepared());

    model.StartTest();
    model.SetGroup(1, 2);
    EXPECT_FALSE(model.NextTestStep()) << "an edit on its way holds the test";
    model.GoOffline();
    EXPECT_FALSE(model.TestPrepared()) << "going offline drops the test";
    EXPECT_TRUE(model.Settled());
}

TEST_F(EditorModelTest, PanelWideOptionsAndColourChoices) {
    Open();
    PostedBlock sent = model.SetKeyFunction(2, 3);
    ASSERT_TRUE(sent);
    EXPECT_EQ((*sent)[ConfigMODE18], 3);
    Answer(*sent);
    sent = model.SetKeyLock(true);
    ASSERT_TRUE(sent);
    EXPECT_EQ((*sent)[ConfigLOCK], 1);
    Answer(*sent);
    sent = model.SetColour(2, 7, OffSlot, 0);
    ASSERT_TRUE(sent);
    EXPECT_EQ(model.Colour(2, 7).ScreenColor, 0u) << "OFF";
    Answer(*sent);
    sent = model.SetColour(2, 7, CustomSlot, 0x00123456);
    ASSERT_TRUE(sent);
    EXPECT_EQ(model.Colour(2, 7).PaletteSlot, CustomSlot);
    Answer(*sent);
    sent = model.SetBrightnessForAll(3, 40);
    ASSERT_TRUE(sent);
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        EXPECT_EQ(model.Colour(3, channel).Brightness, 40) << channel;
    }
}

// A model whose clock the test moves; each step waits for the panel's read-back.
class EditorHistoryTest : public EditorModelTest {
protected:
    void SetUp() override {
        model.SetClock([this] { return now; });
        Open();
    }
    // Sends the edit and lets the panel read it back; the block the panel holds.
    ConfigBlock Done(const PostedBlock& sent) {
        EXPECT_TRUE(sent);
        if (sent) {
            EXPECT_FALSE(Answer(*sent));
            panel = *sent;
        }
        return panel;
    }
    void Later(int ms) { now += std::chrono::milliseconds(ms); }

    std::chrono::steady_clock::time_point now{};
    ConfigBlock panel{};
};

TEST_F(EditorHistoryTest, UndoAndRedoWalkTheStepsInOrder) {
    const ConfigBlock start = model.Configuration();
    const ConfigBlock grouped = Done(model.SetGroup(1, 5));
    Later(2000);
    const ConfigBlock fixed = Done(model.SetMode(2, ModeFixed));
    ASSERT_TRUE(model.History().CanUndo());
    EXPECT_EQ(model.History().NextUndo().name.toStdString(), "Mode of channel 2");

    EXPECT_EQ(Done(model.Undo()), grouped);
    EXPECT_EQ(model.Mode(2), ModeFree);
    EXPECT_EQ(Done(model.Undo()), start);
    EXPECT_FALSE(model.History().CanUndo());
    EXPECT_FALSE(model.Undo());
    EXPECT_EQ(Done(model.Redo()), grouped);
    EXPECT_EQ(Done(model.Redo()), fixed);
    EXPECT_FALSE(model.Redo());

    Done(model.Undo());
    Later(2000);
    Done(model.SetGroup(3, 2));
    EXPECT_FALSE(model.History().CanRedo()) << "a new edit clears what could be redone";
}

TEST_F(EditorHistoryTest, BurstsOfOneEditAreOneStep) {
    model.SetMemoryMapShown(true);
    const ConfigBlock start = model.Configuration();
    for (int tenths = 4; tenths <= 8; ++tenths) {
        Done(model.SetDuration(3, tenths));
        Later(100);
    }
    Later(1500);
    Done(model.SetDuration(3, 12));
    Done(model.ToggleMemoryCell(1, 0));
    Done(model.ToggleMemoryCell(2, 0));
    EXPECT_EQ(model.History().NextUndo().name.toStdString(), "Memory map");
    Done(model.Undo());
    EXPECT_EQ(model.DurationTenths(3), 12) << "the memory toggles went back as one";
    Done(model.Undo());
    EXPECT_EQ(model.DurationTenths(3), 8) << "after a pause, a step of its own";
    EXPECT_EQ(Done(model.Undo()), start) << "the key-repeat burst as one step";
}

TEST_F(EditorHistoryTest, ALongSessionKeepsItsLatestStepsOnly) {
    const int steps = int(EditHistory::MostSteps) + 5;
    for (int step = 1; step <= steps; ++step) {
        Later(2000);
        Done(model.SetGroup(1 + step % 2, 1 + step % 8));
    }
    int undone = 0;
    while (model.History().CanUndo()) {
        Done(model.Undo());
        ++undone;
    }
    EXPECT_EQ(undone, int(EditHistory::MostSteps));
    EXPECT_EQ(model.Group(1 + 5 % 2), 1 + 5 % 8) << "the five oldest steps are gone";
    EXPECT_EQ(model.Group(1 + 6 % 2), 1 + 4 % 8);
}

TEST_F(EditorHistoryTest, WhatThePanelDidNotReadBackIsNoStep) {
    ASSERT_TRUE(model.SetGroup(1, 5));
    model.GoOffline();
    EXPECT_FALSE(model.History().CanUndo());

    model.LinkStarted();
    model.ApplyConfiguration(panelBlock);
    EXPECT_FALSE(model.SetMode(0, ModeFixed));
    EXPECT_FALSE(model.History().CanUndo()) << "a refused edit";
    Done(model.RequestSend());
    EXPECT_FALSE(model.History().CanUndo()) << "a send without an edit";
}

TEST_F(EditorHistoryTest, AnUndoWaitsForTheWriteOnItsWayAndNeverRunsInATest) {
    Done(model.SetGroup(1, 5));
    Later(2000);
    const PostedBlock onItsWay = model.SetGroup(2, 6);
    ASSERT_TRUE(onItsWay);
    EXPECT_FALSE(model.Undo()) << "no second write while one is on its way";
    const PostedBlock undone = Answer(*onItsWay);
    ASSERT_TRUE(undone) << "the undo follows the read-back";
    EXPECT_EQ(FieldOf(*undone, 2, RecordGROUP), 0);
    EXPECT_EQ(FieldOf(*undone, 1, RecordGROUP), 5);
    Answer(*undone);

    model.StartTest();
    EXPECT_FALSE(model.Undo());
    EXPECT_FALSE(model.Revert());
    model.EndTest();
    EXPECT_TRUE(model.Undo());
}

TEST_F(EditorHistoryTest, RevertAndTheTestsOwnConfigurationAreSteps) {
    const ConfigBlock opened = model.Configuration();
    model.ReceiveReply(CmdReadConfig, ReadBack(opened));
    Done(model.SetGroup(1, 5));
    Later(2000);
    Done(model.CopyColours(1, 4, true, false));
    EXPECT_TRUE(model.CanRevert());
    EXPECT_EQ(Done(model.Revert()), opened);
    EXPECT_EQ(model.History().NextUndo().name.toStdString(),
              "Revert to the configuration read at open");
    EXPECT_FALSE(model.CanRevert());
    Done(model.Undo());
    EXPECT_EQ(FieldOf(model.Configuration(), 1, RecordGROUP), 5) << "a revert is undone";

    const ConfigBlock beforeTest = model.Configuration();
    model.StartTest();
    while (const std::optional<TestStep> step = model.NextTestStep()) {
        if (step->Kind == TestStepKind::WriteConfig) {
            model.ReceiveReply(CmdReadConfig, ReadBack(step->Block));
        }
    }
    model.EndTest();
    EXPECT_NE(model.Configuration(), beforeTest);
    EXPECT_EQ(Done(model.RestoreBeforeTest()), beforeTest);
}

// The test is one step of the history, named for it, that Undo takes back
// whole; the edits the user made during it stay in a restore, and no step
// undoes more than its name says.
TEST_F(EditorHistoryTest, TheTestIsOneStepAndARestoreKeepsTheEditsMadeDuringIt) {
    Done(model.SetMode(9, ModeFixed));
    const ConfigBlock beforeTest = model.Configuration();
    Later(2000);
    model.StartTest();
    bool edited = false;
    while (const std::optional<TestStep> step = model.NextTestStep()) {
        if (step->Kind != TestStepKind::WriteConfig) {
            continue;
        }
        model.ReceiveReply(CmdReadConfig, ReadBack(step->Block));
        if (!edited) {
            // The user sets channel 10 to Fixed between two of the test's steps.
            const PostedBlock edit = model.SetMode(10, ModeFixed);
            ASSERT_TRUE(edit);
            EXPECT_FALSE(Answer(*edit));
            edited = true;
        }
    }
    model.EndTest();
    ASSERT_TRUE(model.History().CanUndo());
    EXPECT_EQ(model.History().NextUndo().name.toStdString(), "Panel test");

    ConfigBlock restored = beforeTest;
    restored[RecordOffset(10) + RecordMODE] = ModeFixed;
    const ConfigBlock afterRestore = Done(model.RestoreBeforeTest());
    EXPECT_EQ(afterRestore, restored) << "the edit made during the test stays";
    EXPECT_EQ(model.History().NextUndo().name.toStdString(),
              "Configuration from before the panel test");
    Done(model.Undo());
    EXPECT_EQ(model.History().NextUndo().name.toStdString(), "Panel test");
    EXPECT_EQ(Done(model.Undo()), beforeTest) << "the whole test, taken back as one";
    EXPECT_EQ(model.History().NextUndo().name.toStdString(), "Mode of channel 9");
    ConfigBlock beforeMode9 = beforeTest;
    beforeMode9[RecordOffset(9) + RecordMODE] = ModeFree;
    EXPECT_EQ(Done(model.Undo()), beforeMode9) << "channel 9 only";
}

} // namespace
