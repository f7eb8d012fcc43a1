// SPDX-License-Identifier: Apache-2.0
#include "editor/EditorModel.h"
#include "link/WireProtocol.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using enum EditorInput;

// The panel reads back what it was sent.
std::vector<std::uint8_t> ReadBack(const ConfigBlock& block) {
    std::vector<std::uint8_t> payload(ConfigReplySize, 0);
    std::copy(block.begin(), block.end(), payload.begin());
    return payload;
}

// A model in `mode` with every input's state in place: two steps to undo, one
// to redo, a finished test to restore from, the memory map shown and GPIO 3 held.
EditorModel ModelIn(EditorMode mode) {
    EditorModel model;
    model.SetChannelMask("FFFF");
    if (mode == EditorMode::Offline) {
        return model;
    }
    model.LinkStarted();
    if (mode == EditorMode::Reading) {
        return model;
    }
    ConfigBlock factory;
    LoadFactoryValues(factory);
    model.ApplyConfiguration(factory);
    model.SetMemoryMapShown(true);
    model.StartTest();
    model.EndTest();
    for (const int group : {4, 5}) {
        const PostedBlock sent = model.SetGroup(1, group);
        model.ReceiveReply(CmdReadConfig, ReadBack(*sent));
    }
    model.ReceiveReply(CmdReadConfig, ReadBack(*model.Undo()));
    model.PressGpio(3);
    if (mode == EditorMode::Testing) {
        model.StartTest();
    } else if (mode == EditorMode::Closing) {
        model.BeginClosing();
    }
    EXPECT_EQ(model.CurrentMode(), mode);
    return model;
}

// Whether the input changed anything: a block or command to post, a mode left.
bool HadEffect(EditorModel& model, EditorInput input) {
    const EditorMode before = model.CurrentMode();
    switch (input) {
    case Edit:
        return model.SetGroup(2, 9).has_value();
    case Undo:
        return model.Undo().has_value();
    case Redo:
        return model.Redo().has_value();
    case Revert:
        return model.Revert().has_value();
    case RestoreBeforeTest:
        return model.RestoreBeforeTest().has_value();
    case GpioPress:
        return !model.PressGpio(5).empty();
    case GpioRelease:
        return model.ReleaseGpio().has_value();
    case MemoryToggle:
        return model.ToggleMemoryCell(2, 0).has_value();
    case StartTest:
        return model.StartTest();
    case StopTest:
        model.EndTest();
        return model.CurrentMode() != before;
    case Close:
        return model.BeginClosing();
    default:
        // Files, default values and GPIO off are carried out by the window when
        // the model accepts them.
        return !model.Decide(input).Refused();
    }
}

// The editor's table: one row per mode, one letter per input in the order of
// AllEditorInputs. A: accepted, D: deferred, R: refused.
//                      edit
//                      | undo redo revert
//                      | | | | load file, default, factory
//                      | | | | | | | save file, default
//                      | | | | | | | | | compare
//                      | | | | | | | | | | GPIO press, release, off
//                      | | | | | | | | | | | | | memory toggle
//                      | | | | | | | | | | | | | | start, stop test
//                      | | | | | | | | | | | | | | | | restore before test
//                      | | | | | | | | | | | | | | | | | close
const std::map<EditorMode, std::string> Table = {
    {EditorMode::Offline, "R R R R R R R R R R R R R R R R R A"},
    {EditorMode::Reading, "R R R R R R R R R R R R R R R R R A"},
    {EditorMode::Editing, "A A A A A A A A A A A A A A A R A A"},
    {EditorMode::Testing, "A R R R R R R R R R A A A A R A R A"},
    {EditorMode::Closing, "R R R R R R R R R R R A R R R R A D"},
};

char Letter(Verdict verdict) {
    return verdict == Verdict::Accepted ? 'A' : verdict == Verdict::Deferred ? 'D' : 'R';
}

TEST(EditorModes, EveryModeAnswersEveryInputAsTheTableSays) {
    for (const EditorMode mode : AllEditorModes) {
        const std::string& row = Table.at(mode);
        ASSERT_EQ(row.size(), 2 * AllEditorInputs.size() - 1) << ModeName(mode);
        for (std::size_t i = 0; i < AllEditorInputs.size(); ++i) {
            const EditorInput input = AllEditorInputs[i];
            const char expected = row[2 * i];
            const std::string where = std::string(ModeName(mode)) + " / " + InputName(input);
            EXPECT_EQ(Letter(ModeRule(mode, input).verdict), expected) << where;

            EditorModel model = ModelIn(mode);
            const InputAnswer answer = model.Decide(input);
            EXPECT_EQ(Letter(answer.verdict), expected) << where;
            EXPECT_EQ(answer.reason.isEmpty(), expected == 'A')
                << where << ": a reason when not done";
            // Only an accepted input changes anything; a deferred close waits.
            EXPECT_EQ(HadEffect(model, input), expected == 'A') << where;
        }
    }
}

TEST(EditorModes, TheModeFollowsTheLinkTheConfigurationTheTestAndTheClose) {
    EditorModel model;
    model.SetChannelMask("FF00");
    EXPECT_EQ(model.CurrentMode(), EditorMode::Offline);
    model.LinkStarted();
    EXPECT_EQ(model.CurrentMode(), EditorMode::Reading);
    EXPECT_FALSE(model.Online());
    ConfigBlock factory;
    LoadFactoryValues(factory);
    model.ReceiveReply(CmdReadConfig, ReadBack(factory));
    EXPECT_EQ(model.CurrentMode(), EditorMode::Editing);
    ASSERT_TRUE(model.StartTest());
    EXPECT_EQ(model.CurrentMode(), EditorMode::Testing);
    EXPECT_FALSE(model.StartTest()) << "one test at a time";
    model.BeginClosing();
    EXPECT_EQ(model.CurrentMode(), EditorMode::Closing) << "closing ends the test";
    EXPECT_FALSE(model.TestRunning());
    EXPECT_TRUE(model.Online()) << "what is pending still goes";
    model.GoOffline();
    EXPECT_EQ(model.CurrentMode(), EditorMode::Offline);
}

TEST(EditorModes, StepsOfTheHistoryWaitForTheWriteOnItsWayAndSayWhyTheyAreRefused) {
    EditorModel model = ModelIn(EditorMode::Editing);
    const PostedBlock onItsWay = model.SetGroup(2, 6);
    ASSERT_TRUE(onItsWay);
    for (const EditorInput input : {Undo, Revert, RestoreBeforeTest}) {
        EXPECT_EQ(model.Decide(input).verdict, Verdict::Deferred) << InputName(input);
        EXPECT_FALSE(model.Decide(input).reason.isEmpty());
    }
    EXPECT_TRUE(model.Decide(Edit).Accepted()) << "an edit collapses into the next send";
    model.ReceiveReply(CmdReadConfig, ReadBack(*onItsWay));
    EXPECT_TRUE(model.Decide(Undo).Accepted());
    EXPECT_TRUE(model.Decide(Redo).Refused()) << "a new step clears what could be redone";

    model.SetMemoryMapShown(false);
    EXPECT_TRUE(model.Decide(MemoryToggle).Refused());
    EXPECT_FALSE(model.ToggleMemoryCell(1, 0)) << "the hidden map takes no toggle";
}

TEST(EditorModes, AHeldOutputIsReleasedOnTheChannelThatWasPressed) {
    EditorModel model = ModelIn(EditorMode::Editing);
    ASSERT_EQ(model.HeldGpio(), 3);
    const std::vector<GpioCommand> pressed = model.PressGpio(4);
    EXPECT_EQ(pressed, (std::vector<GpioCommand>{{3, 0}, {4, 1}}));
    EXPECT_EQ(model.ReleaseGpio(), (GpioCommand{4, 0}));
    EXPECT_FALSE(model.ReleaseGpio()) << "released once";
    EXPECT_TRUE(model.PressGpio(17).empty());

    model.PressGpio(6);
    model.BeginClosing();
    EXPECT_TRUE(model.PressGpio(7).empty()) << "no press while closing";
    EXPECT_EQ(model.ReleaseGpio(), (GpioCommand{6, 0})) << "the close lets it go";
}

} // namespace

namespace {

TEST(EditorModes, ATestWhoseLinkEndedIsOfferedOnceToTheSamePanel) {
    EditorModel model = ModelIn(EditorMode::Editing);
    model.SetPanelSerial("QV1.FFFF");
    const ConfigBlock before = model.Configuration();
    ASSERT_TRUE(model.StartTest());
    model.GoOffline();
    model.SetPanelSerial("QV2.FF00");
    EXPECT_FALSE(model.HasInterruptedTest()) << "another panel";
    model.SetPanelSerial("QV1.FFFF");
    ASSERT_TRUE(model.HasInterruptedTest());
    EXPECT_FALSE(model.RestoreInterruptedTest(true)) << "offline: kept for later";
    model.LinkStarted();
    ConfigBlock testColours = before;
    testColours[ColourOffset(1, 0)] ^= 0x7F;
    model.ApplyConfiguration(testColours);
    const PostedBlock restored = model.RestoreInterruptedTest(true);
    ASSERT_TRUE(restored);
    EXPECT_EQ(*restored, before);
    EXPECT_FALSE(model.HasInterruptedTest()) << "offered once";
}

} // namespace
