#include "link/WireProtocol.h"
#include "tests/support/WindowsFixture.h"
#include "ui/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTest>

namespace {

using Editor = WindowsFixture;

std::vector<int> VisibleChannels(TFormEdit& editor) {
    std::vector<int> channels;
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        if (!editor.GpioButtons[channel]->isHidden()) {
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
             QTest::mouseDClick(main->LView->viewport(), Qt::LeftButton, {},
                                main->LView->visualItemRect(main->LView->topLevelItem(1)).center());
         },
         [&] { QTest::mouseClick(editor->BtnClose, Qt::LeftButton); }},
        {"Enter / Escape", [&] { QTest::keyClick(main->LView, Qt::Key_Return); },
         [&] { QTest::keyClick(editor.get(), Qt::Key_Escape); }},
        {"Space / Escape in a group box", [&] { QTest::keyClick(main->LView, Qt::Key_Space); },
         [&] {
             editor->GroupBoxes[1]->setFocus();
             QTest::keyClick(editor->GroupBoxes[1], Qt::Key_Escape);
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
            EXPECT_EQ(editor->NumberCells[9]->Caption(), "");
            EXPECT_EQ(editor->GroupBoxes[2]->currentIndex(), 4);
            EXPECT_TRUE(editor->PulseButtons[3]->isChecked());
            EXPECT_TRUE(editor->FreeButtons[1]->isChecked());
            EXPECT_DOUBLE_EQ(editor->DurationFields[3]->Value(), 1.5);
            EXPECT_TRUE(editor->BoxSave->isChecked());
            EXPECT_EQ(editor->BtnCtrl2->Caption(), "GPIO\r\n OFF");
            EXPECT_EQ(editor->ColourButtons[1][0]->Caption(), "GPIO\r\nBr: 75%");
            EXPECT_TRUE(WaitFor([&] { return !editor->DurationFields[1]->isEnabled(); }))
                << "durations are usable in Pulse mode only";
            EXPECT_TRUE(editor->DurationFields[3]->isEnabled());
            EXPECT_EQ(VirtualBus::Instance().OpenHandleCount(), 1);
            way.close();
        });
        EXPECT_FALSE(editor->isVisible());
        EXPECT_TRUE(main->isVisible());
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(VirtualBus::Instance().OpenHandleCount(), 0);
        EXPECT_EQ(main->EntryCount, 2) << "listed again after the close";
        EXPECT_TRUE(main->Timer.isActive());
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
        EXPECT_FALSE(editor->LabLock->isHidden());
        EXPECT_EQ(editor->LabLock->Caption(), "UNLOCKED");
        EXPECT_EQ(editor->GpioButtons[5]->FaceColour(), editor->ColourEntries[0][5].DisplayColor);
        EXPECT_EQ(editor->GpioButtons[5]->FaceColour(), 0x00B1B1B1u) << "white at min";

        panel16->SetGpi(5, true);
        ASSERT_TRUE(WaitFor([&] { return editor->GpiLabels[5]->TextColour() == 0x00FFFFFF; }));
        EXPECT_EQ(editor->GpioButtons[5]->FaceColour(), editor->ColourEntries[2][5].DisplayColor);
        EXPECT_EQ(editor->GpioLabels[5]->TextColour(), editor->GpioLabels[5]->BackgroundColour());

        panel16->SetGpioOutput(5, true);
        ASSERT_TRUE(WaitFor([&] { return editor->GpioLabels[5]->TextColour() == 0x00FFFFFF; }));
        EXPECT_EQ(editor->GpioButtons[5]->FaceColour(), editor->ColourEntries[3][5].DisplayColor);

        EXPECT_EQ(editor->BtnCtrl1->FaceColour(), 0x00AAAAFFu);
        EXPECT_EQ(editor->BtnCtrl2->FaceColour(), 0x00FFBB99u);
        panel16->SetKeyState(2, 1);
        panel16->SetLockState(0x80);
        ASSERT_TRUE(WaitFor([&] { return editor->BtnCtrl2->FaceColour() == 0x00FF5500u; }));
        EXPECT_EQ(editor->BtnCtrl2->TextColour(), 0x00FFFFFFu);
        EXPECT_EQ(editor->BtnCtrl2->Caption(), "MEM");
        EXPECT_EQ(editor->LabLock->Caption(), "LOCKED");
        EXPECT_EQ(editor->LabLock->BackgroundColour(), 0x007777FFu);
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
    EXPECT_TRUE(editor->Online);
    EXPECT_FALSE(editor->FreeButtons[1]->isChecked()) << "an unknown mode leaves the buttons";
    EXPECT_EQ(editor->GroupBoxes[2]->currentIndex(), -1);
    StatusBlock status{};
    status[StatusStateOffset(1)] = 0x01;
    status[StatusStateOffset(2)] = 0x05;
    status[StatusLOCKSTATE] = 1;
    editor->ShowStatus(status);
    EXPECT_EQ(editor->GpioButtons[1]->FaceColour(), editor->ColourEntries[1][1].DisplayColor);
    EXPECT_EQ(editor->GpioLabels[1]->TextColour(), 0x00FFFFFFu);
    EXPECT_EQ(editor->GpioButtons[2]->FaceColour(), editor->ColourEntries[1][2].DisplayColor);
    EXPECT_EQ(editor->GpioLabels[2]->TextColour(), editor->GpioLabels[2]->BackgroundColour())
        << "0x05 leaves the labels as they were";
    EXPECT_TRUE(editor->LabLock->isHidden()) << "LOCK 0 hides the lock whatever LOCKSTATE says";

    block[ColourOffset(4, 1) + ColourRed] = 0;
    block[ColourOffset(4, 1) + ColourGreen] = 0;
    block[ColourOffset(4, 1) + ColourBlue] = 0;
    block[ColourOffset(1, 2) + ColourIntensity] = 2;
    block[ColourOffset(2, 2) + ColourIntensity] = 127;
    editor->ApplyConfiguration(block);
    EXPECT_EQ(editor->ColourButtons[1][4]->FaceColour(), 0x00808080u);
    EXPECT_EQ(editor->ColourButtons[1][4]->Caption(), "Off");
    EXPECT_EQ(editor->ColourEntries[1][4].PaletteSlot, OffSlot);
    EXPECT_EQ(editor->ColourButtons[2][0]->Caption(), "GPI\r\nBr: min") << "channel 1's brightness";

    // A group the box cannot show goes back to the panel unchanged.
    editor->SendConfiguration();
    EXPECT_EQ(editor->Configuration[RecordOffset(2) + RecordGROUP], 40);
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
        EXPECT_FALSE(editor->Online);
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
        editor->GroupBoxes[1]->setCurrentIndex(5);
        editor->SendConfiguration();
        EXPECT_FALSE(editor->ConfigReceived);
        editor->GroupBoxes[1]->setCurrentIndex(6);
        editor->SendConfiguration();
        EXPECT_TRUE(editor->SendPending);
        editor->SendConfiguration(); // collapses into the one pending send
        ASSERT_TRUE(WaitFor([&] { return editor->ConfigReceived && !editor->SendPending; }));
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
        EXPECT_EQ(editor->GroupBoxes[1]->currentIndex(), 6);
    });
}

TEST_F(Editor, GpioButtonsSendMomentaryPresses) {
    WithPanel16Online([&] {
        ColourButton* button = editor->GpioButtons[5];
        QTest::mousePress(button, Qt::LeftButton);
        QTest::mouseRelease(button, Qt::LeftButton);
        QTest::mouseClick(button, Qt::RightButton);
        button->setFocus();
        QTest::sendKeyEvent(QTest::KeyAction::Press, button, Qt::Key_Space, ' ', Qt::NoModifier);
        QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
        QApplication::sendEvent(button, &repeated);
        QTest::sendKeyEvent(QTest::KeyAction::Release, button, Qt::Key_Space, ' ', Qt::NoModifier);
        QTest::mouseClick(editor->BtnOff, Qt::LeftButton);
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
        EXPECT_DOUBLE_EQ(editor->DurationFields[channel]->Value(), 0.3);
        ASSERT_EQ(editor->GroupBoxes[channel]->count(), 17);
        EXPECT_EQ(editor->GroupBoxes[channel]->itemText(0), "n/a");
        EXPECT_EQ(editor->GroupBoxes[channel]->itemText(16), " 16");
        EXPECT_EQ(TagOf(editor->PulseButtons[channel]), channel + 0x20000);
        EXPECT_EQ(TagOf(editor->ColourButtons[3][channel]), channel + 0x30000);
    }
    EXPECT_EQ(editor->size(), QSize(1149, 400));
    EXPECT_FALSE(editor->BtnTest->isVisibleTo(editor.get()));
    EXPECT_EQ(editor->BtnOff->Caption(), "GPIO\r\nSwitch off");

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
        EXPECT_FALSE(editor->Columns[1]->isHidden()) << "columns stay";
    }

    editor->GoOffline();
    for (QWidget* control : editor->findChildren<QWidget*>()) {
        const bool interactive = qobject_cast<QAbstractButton*>(control) != nullptr ||
                                 qobject_cast<QComboBox*>(control) != nullptr ||
                                 qobject_cast<QAbstractSpinBox*>(control) != nullptr;
        if (interactive && control != editor->BtnClose) {
            EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
        }
    }
    EXPECT_TRUE(editor->BtnClose->isEnabled());
    EXPECT_EQ(editor->DurationFields[1]->text(), "");
}

TEST_F(Editor, TestButtonFollowsTheFirstArgument) {
    CreateWindows(true);
    EXPECT_TRUE(editor->BtnTest->isVisibleTo(editor.get()));
}

TEST_F(Editor, ClickOnAPanelTakesTheFocusFromAGroupBox) {
    CreateWindows();
    editor->show();
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    editor->SetChannelMask("FFFF");
    editor->GoOnline();
    editor->GroupBoxes[3]->setFocus();
    ASSERT_TRUE(editor->GroupBoxes[3]->hasFocus());
    QTest::mouseClick(editor->Columns[3], Qt::LeftButton, {}, QPoint(20, 380));
    EXPECT_FALSE(editor->GroupBoxes[3]->hasFocus());
    EXPECT_TRUE(editor->PanN->hasFocus());
    editor->hide();
}

} // namespace
