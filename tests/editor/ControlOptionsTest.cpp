// SPDX-License-Identifier: Apache-2.0
#include "link/WireProtocol.h"
#include "tests/support/WindowsFixture.h"
#include "ui/ColourButton.h"
#include "ui/ColourLabel.h"
#include "ui/FindControl.h"
#include "ui/Panel.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QTest>

namespace {

using ControlOptions = WindowsFixture;

TEST_F(ControlOptions, FunctionKeyMenuSendsAndTheCaptionFollowsTheReadBack) {
    WithPanel16Online([&] {
        EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnCtrl2")->Caption(), "None");
        editor->findChild<QAction*>("CtrlMenu2Mem")->trigger();
        EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnCtrl2")->Caption(), "None")
            << "until the panel answers";
        ASSERT_TRUE(WaitSendsAnswered());
        const auto blocks = WrittenBlocks(*panel16);
        ASSERT_EQ(blocks.size(), 1u);
        EXPECT_EQ(blocks[0][403], 2);
        EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnCtrl2")->Caption(), "MEM");
        emit FindControl<QMenu>(*editor, "CtrlMenu2")->aboutToShow();
        EXPECT_TRUE(editor->findChild<QAction*>("CtrlMenu2Mem")->isChecked());
        EXPECT_FALSE(editor->findChild<QAction*>("CtrlMenu2None")->isChecked());

        editor->findChild<QAction*>("CtrlMenu2GPO")->trigger();
        ASSERT_TRUE(WaitSendsAnswered());
        EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnCtrl2")->Caption(), "GPIO\r\n OFF");
        editor->findChild<QAction*>("CtrlMenu1Lock")->trigger();
        ASSERT_TRUE(WaitSendsAnswered());
        EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnCtrl1")->Caption(), "UnLock");
        EXPECT_EQ(panel16->Configuration()[402], 1);
        emit FindControl<QMenu>(*editor, "CtrlMenu1")->aboutToShow();
        EXPECT_TRUE(editor->findChild<QAction*>("CtrlMenu1Lock")->isChecked());
    });
}

TEST_F(ControlOptions, CheckBoxesSendOnlyWhenTheUserChangesThem) {
    WithPanel16Online([&] {
        QTest::mouseClick(FindControl<QCheckBox>(*editor, "BoxLock"), Qt::LeftButton, {},
                          QPoint(6, 9));
        ASSERT_TRUE(WaitSendsAnswered());
        auto blocks = WrittenBlocks(*panel16);
        ASSERT_EQ(blocks.size(), 1u);
        EXPECT_EQ(blocks[0][ConfigLOCK], 1);
        EXPECT_EQ(blocks[0][ConfigSAVE], 0);
        EXPECT_FALSE(FindControl<ColourLabel>(*editor, "LabLock")->isHidden());
        EXPECT_EQ(FindControl<ColourLabel>(*editor, "LabLock")->Caption(), "UNLOCKED");
        panel16->SetLockState(1);
        ASSERT_TRUE(WaitFor(
            [&] { return FindControl<ColourLabel>(*editor, "LabLock")->Caption() == "LOCKED"; }));
        EXPECT_EQ(FindControl<ColourLabel>(*editor, "LabLock")->BackgroundColour(), 0x007777FFu);
        EXPECT_EQ(FindControl<ColourLabel>(*editor, "LabLock")->TextColour(), 0x00FFFFFFu);

        QTest::mouseClick(FindControl<QCheckBox>(*editor, "BoxSave"), Qt::LeftButton, {},
                          QPoint(6, 9));
        ASSERT_TRUE(WaitSendsAnswered());
        EXPECT_EQ(panel16->Configuration()[ConfigSAVE], 1);

        // A reply that changes the options sets the boxes without a send.
        panel16->ClearReceivedFrames();
        ConfigBlock block = panel16->Configuration();
        block[ConfigSAVE] = 0;
        block[ConfigLOCK] = 0;
        editor->ApplyConfiguration(block);
        EXPECT_FALSE(FindControl<QCheckBox>(*editor, "BoxSave")->isChecked());
        EXPECT_FALSE(FindControl<QCheckBox>(*editor, "BoxLock")->isChecked());
        EXPECT_TRUE(FindControl<ColourLabel>(*editor, "LabLock")->isHidden());
        Settle(30);
        EXPECT_TRUE(WrittenBlocks(*panel16).empty());
    });
}

TEST_F(ControlOptions, ControlDoubleClickShowsTheTestButton) {
    CreateWindows();
    editor->show();
    const QPoint empty(45, 320);
    QTest::mouseDClick(FindControl<Panel>(*editor, "PanTemp"), Qt::LeftButton, {}, empty);
    EXPECT_TRUE(FindControl<ColourButton>(*editor, "BtnTest")->isHidden());
    QTest::mouseDClick(FindControl<Panel>(*editor, "PanCtrl"), Qt::LeftButton, Qt::ControlModifier,
                       QPoint(70, 300));
    EXPECT_FALSE(FindControl<ColourButton>(*editor, "BtnTest")->isHidden());
    editor->GoOffline();
    EXPECT_FALSE(FindControl<ColourButton>(*editor, "BtnTest")->isHidden())
        << "for the rest of the run";
    editor->hide();
}

class TestMode : public WindowsFixture {
protected:
    // The frames the script sends, in order, as the panel must receive them.
    static std::vector<std::vector<std::uint8_t>> ExpectedFrames(const TestScript& script) {
        std::vector<std::vector<std::uint8_t>> frames;
        for (const TestStep& step : script) {
            switch (step.Kind) {
            case TestStepKind::Pause:
                break;
            case TestStepKind::SetGpio: {
                const std::uint8_t payload[] = {step.Channel, step.State};
                frames.push_back(BuildFrame(2, payload, 2));
                break;
            }
            case TestStepKind::WriteConfig:
                frames.push_back(BuildFrame(4, step.Block.data(), step.Block.size()));
                frames.push_back(BuildFrame(3, nullptr, 0));
                break;
            case TestStepKind::GpioOff:
                frames.push_back(BuildFrame(6, nullptr, 0));
                break;
            }
        }
        return frames;
    }
    static std::vector<std::uint8_t> BuildFrame(std::uint8_t code, const std::uint8_t* payload,
                                                std::size_t length) {
        std::vector<std::uint8_t> frame(length + 5);
        frame[0] = 0xC7;
        frame[1] = 0xD0;
        frame[2] = 0xC9;
        frame[3] = code;
        std::copy_n(payload, length, frame.begin() + 4);
        frame[length + 4] = 0xC5;
        return frame;
    }
    void ShortPauses() {
        editor->SetTestPause([this](std::chrono::milliseconds duration) {
            pauses += duration;
            QTest::qSleep(1);
        });
    }
    std::chrono::milliseconds pauses{0};
};

TEST_F(TestMode, RunsTheWholeScriptAndEndsOnTheFactoryConfiguration) {
    WithPanel16Online([&] {
        ShortPauses();
        auto expected = ExpectedFrames(MakeTestScript(editor->Model().ChannelPresent()));
        // Its end switches every output off, whatever the script left on.
        expected.push_back(BuildFrame(6, nullptr, 0));
        editor->BtnTestClick();
        EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnTest")->Caption(), "STOP");
        ASSERT_TRUE(
            WaitFor([&] { return !FindControl<QTimer>(*editor, "TimerTest")->isActive(); }, 20000));
        EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnTest")->Caption(), "TEST");
        ASSERT_TRUE(WaitSendsAnswered());
        Settle(50);
        EXPECT_EQ(CommandsSentTo(*panel16), expected);
        EXPECT_EQ(questions, QStringList{"Restore the configuration from before the test?"});
        EXPECT_EQ(pauses.count(), 21100);
        ConfigBlock factory;
        LoadFactoryValues(factory);
        EXPECT_EQ(panel16->Configuration(), factory);
        EXPECT_EQ(editor->Model().Configuration(), factory)
            << "the editor shows the factory values";
    });
}

TEST_F(TestMode, StopKeepsTheRestAndEveryEndClearsIt) {
    WithPanel16Online([&] {
        ShortPauses();
        editor->BtnTestClick();
        ASSERT_TRUE(WaitFor([&] {
            return editor->Model().TestPrepared() && editor->Model().TestStepsLeft() < 100;
        }));
        editor->BtnTestClick();
        EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnTest")->Caption(), "TEST");
        EXPECT_FALSE(FindControl<QTimer>(*editor, "TimerTest")->isActive());
        ASSERT_TRUE(editor->Model().TestPrepared());
        const std::size_t left = editor->Model().TestStepsLeft();
        EXPECT_GT(left, 0u);
        ASSERT_TRUE(WaitSendsAnswered());
        Settle(50); // a command posted just before the stop still goes out
        const std::size_t sent = CommandsSentTo(*panel16).size();
        Settle(100);
        EXPECT_EQ(CommandsSentTo(*panel16).size(), sent);
        EXPECT_EQ(editor->Model().TestStepsLeft(), left);

        // Started again, it begins from the first step.
        editor->BtnTestClick();
        ASSERT_TRUE(WaitFor([&] { return editor->Model().TestStepsLeft() < 120; }));
        EXPECT_GT(editor->Model().TestStepsLeft(), left);
    });
    EXPECT_FALSE(FindControl<QTimer>(*editor, "TimerTest")->isActive())
        << "closing the editor stops the test";
    EXPECT_FALSE(editor->Model().TestPrepared());
}

// Closed during the test, the editor switches every output off and asks as STOP
// does; Yes restores the configuration from before the test, which reaches the
// panel before the editor is gone.
TEST_F(TestMode, ClosingDuringTheTestAsksAndRestoresBeforeItCloses) {
    WithPanel16Online([&] {
        ShortPauses();
        ConfigBlock edited = panel16->Configuration();
        edited[RecordOffset(7) + RecordMODE] = ModeFixed;
        panel16->SetConfiguration(edited);
        editor->SendConfiguration();
        ASSERT_TRUE(WaitSendsAnswered());
        const ConfigBlock before = editor->Model().Configuration();
        editor->BtnTestClick();
        ASSERT_TRUE(WaitFor([&] { return editor->Model().TestStepsLeft() < 60; }));
        Dialogs::SetAnswerer([this](const QString& question) {
            questions << question;
            return true;
        });
        panel16->ClearReceivedFrames();
        editor->reject();
        EXPECT_EQ(questions, QStringList{"Restore the configuration from before the test?"});
        const auto sent = CommandsSentTo(*panel16);
        EXPECT_TRUE(std::any_of(sent.begin(), sent.end(), [](const auto& frame) {
            return frame[3] == 6;
        })) << "every output off";
        EXPECT_EQ(panel16->Configuration(), before) << "restored before the editor closed";
    });
}

// An edit made during the test reaches the panel between its steps and stays
// there through a restore; the test's end leaves no output on.
TEST_F(TestMode, AnEditDuringTheTestSurvivesTheRestoreAndNoOutputStaysOn) {
    WithPanel16Online([&] {
        ShortPauses();
        const ConfigBlock before = editor->Model().Configuration();
        Dialogs::SetAnswerer([this](const QString& question) {
            questions << question;
            return true;
        });
        editor->BtnTestClick();
        ASSERT_TRUE(WaitFor([&] { return editor->Model().TestStepsLeft() < 100; }));
        FindControl<ColourButton>(*editor, "BtnFix", 10)->click();
        ASSERT_TRUE(
            WaitFor([&] { return !FindControl<QTimer>(*editor, "TimerTest")->isActive(); }, 20000));
        ASSERT_TRUE(WaitSendsAnswered());
        Settle(50);
        EXPECT_EQ(questions, QStringList{"Restore the configuration from before the test?"});
        ConfigBlock expected = before;
        expected[RecordOffset(10) + RecordMODE] = ModeFixed;
        EXPECT_EQ(panel16->Configuration(), expected);
        for (int channel = 1; channel <= ChannelCount; ++channel) {
            EXPECT_EQ(panel16->Status()[StatusStateOffset(channel)] & 1, 0)
                << "GPIO" << channel << " is still on";
        }
        emit FindControl<QMenu>(*editor, "MenuLoad")->aboutToShow();
        EXPECT_TRUE(
            Item("MenuUndo")->text().startsWith("Undo Configuration from before the panel test\t"))
            << Item("MenuUndo")->text().toStdString();
    });
}

TEST_F(TestMode, ALinkFailureDuringTheTestClearsIt) {
    AddDefaultPanels();
    WithEditorOnline(0, [&] {
        editor->SetTestPause([](std::chrono::milliseconds) {});
        editor->BtnTestClick();
        ASSERT_TRUE(WaitFor([&] { return editor->Model().TestStepsLeft() < 110; }));
        panel16->SetFault({LineFault::NoAnswer});
        ExpectEditorClosesItself();
    });
    EXPECT_FALSE(editor->Model().TestPrepared());
    EXPECT_EQ(messages.size(), 1u);
}

} // namespace

namespace {

// A link that ends during the test leaves the panel with the test's colours;
// opened again, the panel is offered its configuration from before the test.
TEST_F(TestMode, ALinkThatEndsDuringTheTestOffersItsConfigurationWhenThePanelIsOpenedAgain) {
    AddDefaultPanels();
    ConfigBlock before{};
    WithEditorOnline(0, [&] {
        ShortPauses();
        before = editor->Model().Configuration();
        editor->BtnTestClick();
        ASSERT_TRUE(WaitFor([&] { return editor->Model().TestStepsLeft() < 60; }));
        panel16->SetFault({LineFault::NoAnswer});
        ExpectEditorClosesItself();
    });
    ASSERT_NE(panel16->Configuration(), before) << "the panel keeps the test's colours";
    EXPECT_TRUE(questions.isEmpty()) << "nothing can be restored while the link is gone";
    panel16->SetFault({});
    Dialogs::SetAnswerer([this](const QString& question) {
        questions << question;
        return true;
    });
    ASSERT_TRUE(RunEditorOnline(*main, *editor, 0, [&] {
        ASSERT_TRUE(WaitFor([&] { return !questions.isEmpty(); }));
        ASSERT_TRUE(WaitFor([&] { return panel16->Configuration() == before; }));
        ASSERT_TRUE(WaitSendsAnswered());
        emit FindControl<QMenu>(*editor, "MenuLoad")->aboutToShow();
        EXPECT_TRUE(
            Item("MenuUndo")->text().startsWith("Undo Configuration from before the panel test\t"));
    }));
    EXPECT_EQ(questions, QStringList{"The link to this panel ended during the panel test. "
                                     "Restore the configuration from before the test?"});
    ASSERT_TRUE(RunEditorOnline(*main, *editor, 0, [&] { Settle(50); }));
    EXPECT_EQ(questions.size(), 1) << "offered once";
}

// What the window offers follows the editor's mode: while the test runs the
// edits stay, files, default values and the history wait, each saying why.
TEST_F(TestMode, WhileItRunsTheWindowOffersWhatTheEditorTakesAndSaysWhyNotTheRest) {
    WithPanel16Online([&] {
        ShortPauses();
        std::vector<Dialogs::FileDialog> asked;
        Dialogs::SetFileChooser([&](Dialogs::FileDialog kind, const QString&) {
            asked.push_back(kind);
            return std::optional<QString>();
        });
        const auto usable = [&](const char* name) {
            return FindControl<QWidget>(*editor, name)->isEnabled();
        };
        EXPECT_TRUE(usable("BtnLoad") && usable("BtnSave") && usable("BtnGPO3"));
        const QString plainTip = Item("MenuLoadFile")->toolTip();

        editor->BtnTestClick();
        ASSERT_TRUE(editor->Model().TestRunning());
        EXPECT_FALSE(usable("BtnLoad")) << "no file while the panel shows the test's colours";
        EXPECT_FALSE(usable("BtnSave"));
        for (const char* item : {"MenuLoadFile", "MenuLoadDefault", "MenuLoadFactory",
                                 "MenuCompare", "MenuUndo", "MenuSaveFile", "MenuSaveDefault"}) {
            EXPECT_FALSE(Item(item)->isEnabled()) << item;
            EXPECT_EQ(Item(item)->toolTip(), "Not while the panel test runs") << item;
        }
        EXPECT_TRUE(usable("BtnAny3") && usable("BoxGrp3") && usable("BtnGPO3") &&
                    usable("BtnTest") && usable("BtnClose"))
            << "edits, GPIO and STOP stay";
        for (const QKeyCombination key : {Qt::CTRL | Qt::Key_O, Qt::CTRL | Qt::Key_S}) {
            QTest::keyClick(editor.get(), key.key(), key.keyboardModifiers());
        }
        EXPECT_TRUE(asked.empty()) << "the keys wait as the items do";

        editor->BtnTestClick();
        EXPECT_FALSE(editor->Model().TestRunning());
        EXPECT_TRUE(usable("BtnLoad") && usable("BtnSave"));
        EXPECT_TRUE(Item("MenuLoadFile")->isEnabled());
        EXPECT_EQ(Item("MenuLoadFile")->toolTip(), plainTip) << "no reason once it is taken";
    });
}

// Before the panel's configuration has been read nothing can be edited, and
// the editor says so.
TEST_F(ControlOptions, UntilTheConfigurationIsReadOnlyCloseIsOffered) {
    AddDefaultPanels();
    panel16->SetFault({LineFault::NoAnswer});
    CreateWindows();
    Select(0);
    RunEditor([&] { main->OpenSelectedDevice(); },
              [&] {
                  EXPECT_EQ(editor->Model().CurrentMode(), EditorMode::Reading);
                  for (const char* name : {"BtnGPO1", "BtnAny1", "BoxGrp1", "BtnLoad", "BtnSave",
                                           "BtnOff", "BtnMem", "BoxLock", "BoxSave"}) {
                      EXPECT_FALSE(FindControl<QWidget>(*editor, name)->isEnabled()) << name;
                  }
                  EXPECT_EQ(Item("MenuLoadFile")->toolTip(),
                            "The panel's configuration is being read");
                  EXPECT_TRUE(FindControl<QWidget>(*editor, "BtnClose")->isEnabled());
                  editor->reject();
              });
}

} // namespace
