// SPDX-License-Identifier: Apache-2.0
#include "link/WireProtocol.h"
#include "tests/support/ResidentMemory.h"
#include "tests/support/WindowsFixture.h"
#include "ui/ColourButton.h"
#include "ui/ColourLabel.h"
#include "ui/DurationField.h"
#include "ui/FindControl.h"
#include "ui/Panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTest>

namespace {

using Editor = WindowsFixture;

std::vector<int> VisibleChannels(TFormEdit& editor) {
    std::vector<int> channels;
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        if (!FindControl<ColourButton>(editor, "BtnGPO", channel)->isHidden()) {
            channels.push_back(channel);
        }
    }
    return channels;
}

TEST_F(Editor, OpenWatchAndCloseEachWay) {
    AddDefaultPanels();
    ConfigBlock block;
    LoadFactoryValues(block);
    block[RecordOffset(2) + RecordGROUP] = 4;
    block[RecordOffset(3) + RecordMODE] = ModePulse;
    block[RecordOffset(3) + RecordDURATION] = 15;
    block[ConfigSAVE] = 1;
    block[ConfigMODE18] = 1;
    panel8->SetConfiguration(block);
    CreateWindows();

    struct Way {
        const char* name;
        std::function<void()> open;
        std::function<void()> close;
    };
    const Way ways[] = {
        {"double click / Close",
         [&] {
             QTest::mouseDClick(
                 FindControl<QTreeWidget>(*main, "LView")->viewport(), Qt::LeftButton, {},
                 FindControl<QTreeWidget>(*main, "LView")
                     ->visualItemRect(FindControl<QTreeWidget>(*main, "LView")->topLevelItem(1))
                     .center());
         },
         [&] {
             QTest::mouseClick(FindControl<ColourButton>(*editor, "BtnClose"), Qt::LeftButton);
         }},
        {"Enter / Escape",
         [&] { QTest::keyClick(FindControl<QTreeWidget>(*main, "LView"), Qt::Key_Return); },
         [&] { QTest::keyClick(editor.get(), Qt::Key_Escape); }},
        {"Space / Escape in a group box",
         [&] { QTest::keyClick(FindControl<QTreeWidget>(*main, "LView"), Qt::Key_Space); },
         [&] {
             FindControl<QComboBox>(*editor, "BoxGrp", 1)->setFocus();
             QTest::keyClick(FindControl<QComboBox>(*editor, "BoxGrp", 1), Qt::Key_Escape);
         }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        Select(1);
        RunEditor(way.open, [&] {
            ASSERT_TRUE(editor->isVisible());
            EXPECT_FALSE(main->isVisible());
            EXPECT_EQ(editor->windowTitle(), "QUVO-8261-08");
            ASSERT_TRUE(WaitOnline());
            EXPECT_EQ(VisibleChannels(*editor), (std::vector{1, 2, 3, 4, 5, 6, 7, 8}));
            EXPECT_EQ(FindControl<Panel>(*editor, "PanCap", 9)->Caption(), "");
            EXPECT_EQ(FindControl<QComboBox>(*editor, "BoxGrp", 2)->currentIndex(), 4);
            EXPECT_TRUE(FindControl<ColourButton>(*editor, "BtnPls", 3)->isChecked());
            EXPECT_TRUE(FindControl<ColourButton>(*editor, "BtnAny", 1)->isChecked());
            EXPECT_DOUBLE_EQ(FindControl<DurationField>(*editor, "EditMs", 3)->Value(), 1.5);
            EXPECT_TRUE(FindControl<QCheckBox>(*editor, "BoxSave")->isChecked());
            EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnCtrl2")->Caption(), "GPIO\r\n OFF");
            EXPECT_EQ(FindControl<ColourButton>(*editor, ColourButtonName(1, 0))->Caption(),
                      "GPIO\r\nBr: 75%");
            EXPECT_TRUE(WaitFor([&] {
                return !FindControl<DurationField>(*editor, "EditMs", 1)->isEnabled();
            })) << "durations are usable in Pulse mode only";
            EXPECT_TRUE(FindControl<DurationField>(*editor, "EditMs", 3)->isEnabled());
            EXPECT_EQ(VirtualBus::Instance().OpenHandleCount(), 1);
            way.close();
        });
        EXPECT_FALSE(editor->isVisible());
        EXPECT_TRUE(main->isVisible());
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(VirtualBus::Instance().OpenHandleCount(), 0);
        EXPECT_EQ(int(main->ListedEntries().size()), 2) << "listed again after the close";
        EXPECT_TRUE(main->RefreshRunning());
    }
}

TEST_F(Editor, LiveStateRecoloursButtonsLabelsKeysAndLock) {
    AddDefaultPanels();
    ConfigBlock block;
    LoadFactoryValues(block);
    block[ConfigLOCK] = 1;
    block[ConfigMODE17] = 1;
    block[ConfigMODE18] = 2;
    panel16->SetConfiguration(block);
    WithEditorOnline(0, [&] {
        EXPECT_FALSE(FindControl<ColourLabel>(*editor, "LabLock")->isHidden());
        EXPECT_EQ(FindControl<ColourLabel>(*editor, "LabLock")->Caption(), "UNLOCKED");
        EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnGPO", 5)->FaceColour(),
                  editor->Model().Colour(0, 5).DisplayColor);
        EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnGPO", 5)->FaceColour(), 0x00B1B1B1u)
            << "white at min";

        panel16->SetGpi(5, true);
        ASSERT_TRUE(WaitFor([&] {
            return FindControl<ColourLabel>(*editor, "IndGPI", 5)->TextColour() == 0x00FFFFFF;
        }));
        EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnGPO", 5)->FaceColour(),
                  editor->Model().Colour(2, 5).DisplayColor);
        EXPECT_EQ(FindControl<ColourLabel>(*editor, "IndGPO", 5)->TextColour(),
                  FindControl<ColourLabel>(*editor, "IndGPO", 5)->BackgroundColour());

        panel16->SetGpioOutput(5, true);
        ASSERT_TRUE(WaitFor([&] {
            return FindControl<ColourLabel>(*editor, "IndGPO", 5)->TextColour() == 0x00FFFFFF;
        }));
        EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnGPO", 5)->FaceColour(),
                  editor->Model().Colour(3, 5).DisplayColor);

        EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnCtrl1")->FaceColour(), 0x00AAAAFFu);
        EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnCtrl2")->FaceColour(), 0x00FFBB99u);
        panel16->SetKeyState(2, 1);
        panel16->SetLockState(0x80);
        ASSERT_TRUE(WaitFor([&] {
            return FindControl<ColourButton>(*editor, "BtnCtrl2")->FaceColour() == 0x00FF5500u;
        }));
        EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnCtrl2")->TextColour(), 0x00FFFFFFu);
        EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnCtrl2")->Caption(), "MEM");
        EXPECT_EQ(FindControl<ColourLabel>(*editor, "LabLock")->Caption(), "LOCKED");
        EXPECT_EQ(FindControl<ColourLabel>(*editor, "LabLock")->BackgroundColour(), 0x007777FFu);
        editor->reject();
    });
}

TEST_F(Editor, StatusValuesOutsideTheTablesAndAHiddenLock) {
    CreateWindows();
    editor->SetChannelMask("FFFF");
    editor->GoOffline();
    ConfigBlock block;
    LoadFactoryValues(block);
    block[RecordOffset(1) + RecordMODE] = 7;
    block[RecordOffset(2) + RecordGROUP] = 40;
    editor->ApplyConfiguration(block);
    EXPECT_TRUE(editor->Model().Online());
    EXPECT_FALSE(FindControl<ColourButton>(*editor, "BtnAny", 1)->isChecked())
        << "an unknown mode leaves the buttons";
    EXPECT_EQ(FindControl<QComboBox>(*editor, "BoxGrp", 2)->currentIndex(), -1);
    StatusBlock status{};
    status[StatusStateOffset(1)] = 0x01;
    status[StatusStateOffset(2)] = 0x05;
    status[StatusLOCKSTATE] = 1;
    editor->ShowStatus(status);
    EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnGPO", 1)->FaceColour(),
              editor->Model().Colour(1, 1).DisplayColor);
    EXPECT_EQ(FindControl<ColourLabel>(*editor, "IndGPO", 1)->TextColour(), 0x00FFFFFFu);
    EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnGPO", 2)->FaceColour(),
              editor->Model().Colour(1, 2).DisplayColor);
    EXPECT_EQ(FindControl<ColourLabel>(*editor, "IndGPO", 2)->TextColour(),
              FindControl<ColourLabel>(*editor, "IndGPO", 2)->BackgroundColour())
        << "0x05 leaves the labels as they were";
    EXPECT_TRUE(FindControl<ColourLabel>(*editor, "LabLock")->isHidden())
        << "LOCK 0 hides the lock whatever LOCKSTATE says";

    block[ColourOffset(4, 1) + ColourRed] = 0;
    block[ColourOffset(4, 1) + ColourGreen] = 0;
    block[ColourOffset(4, 1) + ColourBlue] = 0;
    block[ColourOffset(1, 2) + ColourIntensity] = 2;
    block[ColourOffset(2, 2) + ColourIntensity] = 127;
    editor->ApplyConfiguration(block);
    EXPECT_EQ(FindControl<ColourButton>(*editor, ColourButtonName(1, 4))->FaceColour(),
              0x00808080u);
    EXPECT_EQ(FindControl<ColourButton>(*editor, ColourButtonName(1, 4))->Caption(), "Off");
    EXPECT_EQ(editor->Model().Colour(1, 4).PaletteSlot, OffSlot);
    EXPECT_EQ(FindControl<ColourButton>(*editor, ColourButtonName(2, 0))->Caption(),
              "GPI\r\nBr: min")
        << "channel 1's brightness";

    // A group the box cannot show goes back to the panel unchanged.
    editor->SendConfiguration();
    EXPECT_EQ(editor->Model().Configuration()[RecordOffset(2) + RecordGROUP], 40);
}

TEST_F(Editor, LinkFailuresAreReportedInWordsAndCloseTheEditor) {
    struct Case {
        const char* name;
        LineFaultSettings fault;
        QString text;
    };
    const Case cases[] = {
        {"no answer", {LineFault::NoAnswer}, "USB Connection Failed\r\n\r\n(read error = 32:0)"},
        {"error reply", {LineFault::ErrorReply, 7}, "Device Error\r\n\r\n(error code = 7:129)"},
        {"bad header", {LineFault::BadHeader}, "Invalid Device ID"},
        {"bad trailer", {LineFault::BadTrailer}, "Invalid Device EID\r\n\r\n(command code = 1)"},
    };
    AddDefaultPanels();
    CreateWindows();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        Select(0);
        RunEditor([&] { main->OpenSelectedDevice(); },
                  [&] {
                      ASSERT_TRUE(WaitOnline());
                      panel16->SetFault(c.fault);
                      // The editor closes itself; give up only after well over the reply budget.
                      ExpectEditorClosesItself();
                  });
        panel16->SetFault({});
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, c.text);
        EXPECT_EQ(messages[0].caption, "Error");
        EXPECT_EQ(messages[0].icon, Dialogs::Icon::Warning);
        EXPECT_FALSE(editor->Model().Online());
        EXPECT_TRUE(main->isVisible());
        EXPECT_EQ(VirtualBus::Instance().OpenHandleCount(), 0);
    }
}

TEST_F(Editor, ALibraryStatusAboveTwoToTheThirtyFirstShowsUnsigned) {
    AddDefaultPanels();
    WithEditorOnline(0, [&] {
        VirtualBus::Instance().FailCall(ApiCall::Write, 0x80000005u);
        if (!WaitFor([&] { return !editor->isVisible(); })) {
            editor->reject();
        }
    });
    VirtualBus::Instance().ClearFailures();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "USB Connection Failed\r\n\r\n(write error = 2147483653:1)");
}

TEST_F(Editor, QuickSendsWaitForTheReadBackOfTheFirst) {
    WithPanel16Online([&] {
        QComboBox* group = FindControl<QComboBox>(*editor, "BoxGrp", 1);
        group->setCurrentIndex(5);
        emit group->activated(5);
        EXPECT_FALSE(editor->Model().ConfigReceived());
        group->setCurrentIndex(6);
        emit group->activated(6);
        EXPECT_TRUE(editor->Model().SendPending());
        editor->SendConfiguration(); // collapses into the one pending send
        ASSERT_TRUE(WaitFor(
            [&] { return editor->Model().ConfigReceived() && !editor->Model().SendPending(); }));
        Settle(50);
        std::vector<int> writtenGroups;
        std::vector<std::uint8_t> codes;
        for (const auto& command : CommandsSentTo(*panel16)) {
            codes.push_back(command[3]);
            if (command[3] == CmdWriteConfig) {
                writtenGroups.push_back(command[4 + RecordOffset(1) + RecordGROUP]);
            }
        }
        EXPECT_EQ(codes, (std::vector<std::uint8_t>{4, 3, 4, 3}));
        EXPECT_EQ(writtenGroups, (std::vector{5, 6}))
            << "the first read-back did not refresh the box";
        EXPECT_EQ(FindControl<QComboBox>(*editor, "BoxGrp", 1)->currentIndex(), 6);
    });
}

TEST_F(Editor, GpioButtonsSendMomentaryPresses) {
    WithPanel16Online([&] {
        ColourButton* button = FindControl<ColourButton>(*editor, "BtnGPO", 5);
        QTest::mousePress(button, Qt::LeftButton);
        QTest::mouseRelease(button, Qt::LeftButton);
        QTest::mouseClick(button, Qt::RightButton);
        button->setFocus();
        QTest::sendKeyEvent(QTest::KeyAction::Press, button, Qt::Key_Space, ' ', Qt::NoModifier);
        QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
        QApplication::sendEvent(button, &repeated);
        QTest::sendKeyEvent(QTest::KeyAction::Release, button, Qt::Key_Space, ' ', Qt::NoModifier);
        QTest::mouseClick(FindControl<ColourButton>(*editor, "BtnOff"), Qt::LeftButton);
        const std::vector<std::vector<std::uint8_t>> expected = {
            {0xC7, 0xD0, 0xC9, 2, 5, 1, 0xC5}, {0xC7, 0xD0, 0xC9, 2, 5, 0, 0xC5},
            {0xC7, 0xD0, 0xC9, 2, 5, 1, 0xC5}, {0xC7, 0xD0, 0xC9, 2, 5, 1, 0xC5},
            {0xC7, 0xD0, 0xC9, 2, 5, 0, 0xC5}, {0xC7, 0xD0, 0xC9, 6, 0xC5}};
        EXPECT_TRUE(WaitFor([&] { return CommandsSentTo(*panel16).size() >= expected.size(); }));
        Settle(30);
        EXPECT_EQ(CommandsSentTo(*panel16), expected);
    });
}

TEST_F(Editor, ConstructionMaskAndOfflineLook) {
    CreateWindows();
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        EXPECT_DOUBLE_EQ(FindControl<DurationField>(*editor, "EditMs", channel)->Value(), 0.3);
        ASSERT_EQ(FindControl<QComboBox>(*editor, "BoxGrp", channel)->count(), 17);
        EXPECT_EQ(FindControl<QComboBox>(*editor, "BoxGrp", channel)->itemText(0), "n/a");
        EXPECT_EQ(FindControl<QComboBox>(*editor, "BoxGrp", channel)->itemText(16), " 16");
    }
    EXPECT_EQ(editor->size(), QSize(1149, 400));
    EXPECT_FALSE(FindControl<ColourButton>(*editor, "BtnTest")->isVisibleTo(editor.get()));
    EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnOff")->Caption(), "GPIO\r\nSwitch off");
    const std::pair<const char*, const char*> captions[] = {{"PanOnline", "Online Control "},
                                                            {"PanDur", "Duration\r\n(sec.)"}};
    for (const auto& [name, caption] : captions) {
        EXPECT_EQ(FindControl<Panel>(*editor, name)->Caption(), caption) << name;
    }

    const std::pair<const char*, std::vector<int>> masks[] = {
        {"8000", {1}},
        {"0001", {16}},
        {"ffff", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        {"0000", {}},
        {"12345", {}},
        {"XYZW", {}}};
    for (const auto& [mask, channels] : masks) {
        editor->SetChannelMask(mask);
        EXPECT_EQ(VisibleChannels(*editor), channels) << mask;
        EXPECT_FALSE(FindControl<Panel>(*editor, "Pan", 1)->isHidden()) << "columns stay";
    }

    editor->GoOffline();
    for (QWidget* control : editor->findChildren<QWidget*>()) {
        const bool interactive = qobject_cast<QAbstractButton*>(control) != nullptr ||
                                 qobject_cast<QComboBox*>(control) != nullptr ||
                                 qobject_cast<QAbstractSpinBox*>(control) != nullptr;
        if (interactive && control != FindControl<ColourButton>(*editor, "BtnClose")) {
            EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
        }
    }
    EXPECT_TRUE(FindControl<ColourButton>(*editor, "BtnClose")->isEnabled());
    EXPECT_EQ(FindControl<DurationField>(*editor, "EditMs", 1)->text(), "");
}

// The duration fields are grey with black text, grey text when disabled, by
// their palette: a style sheet made the style cache a new picture of the field
// at every repaint, and a long session's memory grew without end.
TEST_F(Editor, DurationFieldsAreColouredByTheirPaletteAlone) {
    CreateWindows();
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        const DurationField* field = FindControl<DurationField>(*editor, "EditMs", channel);
        EXPECT_TRUE(field->styleSheet().isEmpty()) << channel;
        EXPECT_EQ(field->palette().color(QPalette::Base), QColor(0xED, 0xED, 0xED));
        EXPECT_EQ(field->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::black));
        EXPECT_EQ(field->palette().color(QPalette::Disabled, QPalette::Text),
                  QColor(0x8C, 0x8C, 0x8C));
    }
}

// A style sheet gives its widget a new palette at every paint, and the style
// keeps a picture for each in its cache: memory grew with every repaint of a
// long session.
TEST_F(Editor, RepaintingGroupBoxesAndDurationFieldsKeepsMemoryFlat) {
    CreateWindows();
    editor->SetChannelMask("FFFF");
    ConfigBlock factory;
    LoadFactoryValues(factory);
    editor->ApplyConfiguration(factory);
    editor->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    const auto repaintFields = [&](int times) {
        for (int time = 0; time < times; ++time) {
            for (int channel = 1; channel <= ChannelCount; ++channel) {
                FindControl<QComboBox>(*editor, "BoxGrp", channel)->repaint();
                FindControl<DurationField>(*editor, "EditMs", channel)->repaint();
            }
        }
    };
    repaintFields(20);
    const std::size_t before = HeapInUseBytes();
    repaintFields(200);
    const std::size_t after = HeapInUseBytes();
    EXPECT_LT(after, before + 100 * 1024) << "grew by " << (after - before) / 1024 << " kB";
    editor->hide();
}

TEST_F(Editor, TestButtonFollowsTheFirstArgument) {
    CreateWindows(true);
    EXPECT_TRUE(FindControl<ColourButton>(*editor, "BtnTest")->isVisibleTo(editor.get()));
}

TEST_F(Editor, ClickOnAPanelTakesTheFocusFromAGroupBox) {
    CreateWindows();
    editor->show();
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    editor->SetChannelMask("FFFF");
    ConfigBlock factory;
    LoadFactoryValues(factory);
    editor->ApplyConfiguration(factory);
    FindControl<QComboBox>(*editor, "BoxGrp", 3)->setFocus();
    ASSERT_TRUE(FindControl<QComboBox>(*editor, "BoxGrp", 3)->hasFocus());
    QTest::mouseClick(FindControl<Panel>(*editor, "Pan", 3), Qt::LeftButton, {}, QPoint(20, 380));
    EXPECT_FALSE(FindControl<QComboBox>(*editor, "BoxGrp", 3)->hasFocus());
    EXPECT_TRUE(FindControl<Panel>(*editor, "PanN")->hasFocus());
    editor->hide();
}

} // namespace
