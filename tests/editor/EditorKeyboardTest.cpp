// SPDX-License-Identifier: Apache-2.0
#include "link/WireProtocol.h"
#include "tests/support/WindowsFixture.h"
#include "ui/ColourButton.h"
#include "ui/DurationField.h"
#include "ui/FindControl.h"
#include "ui/PaintBox.h"
#include "ui/Panel.h"
#include "ui/ProgramIcon.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QTest>

namespace {

using EditorKeyboard = WindowsFixture;

std::vector<std::uint8_t> CommandCodes(const std::vector<std::vector<std::uint8_t>>& commands) {
    std::vector<std::uint8_t> codes;
    for (const auto& command : commands) {
        codes.push_back(command[3]);
    }
    return codes;
}

TEST_F(EditorKeyboard, EnterPressesOnlyTheFocusedPushButton) {
    WithPanel16Online([&] {
        for (QPushButton* button : editor->findChildren<QPushButton*>()) {
            EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
            EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
        }
        // A menu that opened would run its own loop: close it and remember it.
        bool popupSeen = false;
        QTimer guard;
        QObject::connect(&guard, &QTimer::timeout, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                popupSeen = true;
                popup->close();
            }
        });
        guard.start(50);

        editor->activateWindow();
        FindControl<Panel>(*editor, "PanN")->setFocus();
        QTest::keyClick(editor.get(), Qt::Key_Return);
        QTest::keyClick(FindControl<Panel>(*editor, "PanN"), Qt::Key_Enter);
        Settle(100);
        EXPECT_TRUE(editor->isVisible());
        EXPECT_FALSE(popupSeen);
        EXPECT_TRUE(CommandsSentTo(*panel16).empty());

        FindControl<ColourButton>(*editor, "BtnGPO", 4)->setFocus();
        QTest::keyClick(FindControl<ColourButton>(*editor, "BtnGPO", 4), Qt::Key_Return);
        Settle(50);
        EXPECT_TRUE(CommandsSentTo(*panel16).empty()) << "GPIO buttons answer to Space only";

        FindControl<ColourButton>(*editor, "BtnFix", 3)->setFocus();
        QTest::keyClick(FindControl<ColourButton>(*editor, "BtnFix", 3), Qt::Key_Return);
        ASSERT_TRUE(WaitSendsAnswered());
        Settle(30);
        EXPECT_EQ(CommandCodes(CommandsSentTo(*panel16)), (std::vector<std::uint8_t>{4, 3}));
        EXPECT_TRUE(FindControl<ColourButton>(*editor, "BtnFix", 3)->isChecked());
        EXPECT_FALSE(popupSeen);
    });
}

TEST_F(EditorKeyboard, DisabledGpioButtonsSendNothing) {
    AddDefaultPanels();
    CreateWindows();
    Select(0);
    RunEditor(
        [&] { main->OpenSelectedDevice(); },
        [&] {
            // Still offline: the configuration is read after half a second.
            ASSERT_FALSE(FindControl<ColourButton>(*editor, "BtnGPO", 3)->isEnabled());
            QTest::mousePress(FindControl<ColourButton>(*editor, "BtnGPO", 3), Qt::LeftButton);
            QTest::mouseRelease(FindControl<ColourButton>(*editor, "BtnGPO", 3), Qt::LeftButton);
            QTest::keyPress(FindControl<ColourButton>(*editor, "BtnGPO", 3), Qt::Key_Space);
            QTest::keyRelease(FindControl<ColourButton>(*editor, "BtnGPO", 3), Qt::Key_Space);
            QTest::mouseClick(FindControl<ColourButton>(*editor, "BtnOff"), Qt::LeftButton);
            ASSERT_TRUE(WaitOnline());
            Settle(50);
            EXPECT_EQ(CommandCodes(CommandsSentTo(*panel16)), (std::vector<std::uint8_t>{3}))
                << "only the configuration read";
            editor->reject();
        });
}

// A held GPIO output is released on the channel that was pressed, whatever ends
// the hold: Tab while Space is held, the window losing activation, the editor
// closing with the mouse still down.
TEST_F(EditorKeyboard, AHeldGpioOutputIsReleasedOnItsOwnChannel) {
    const auto gpioCommands = [&] {
        std::vector<std::pair<int, int>> sent;
        for (const auto& command : CommandsSentTo(*panel16)) {
            if (command[3] == CmdSetGpio) {
                sent.emplace_back(command[4], command[5]);
            }
        }
        return sent;
    };
    using Sent = std::vector<std::pair<int, int>>;
    WithPanel16Online([&] {
        editor->activateWindow();
        auto* three = FindControl<ColourButton>(*editor, "BtnGPO", 3);
        three->setFocus();
        QTest::keyPress(three, Qt::Key_Space);
        QTest::keyClick(three, Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), three);
        QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Space);
        ASSERT_TRUE(WaitSendsAnswered());
        Settle(30);
        EXPECT_EQ(gpioCommands(), (Sent{{3, 1}, {3, 0}}));

        panel16->ClearReceivedFrames();
        auto* six = FindControl<ColourButton>(*editor, "BtnGPO", 6);
        six->setFocus();
        QTest::keyPress(six, Qt::Key_Space);
        QEvent deactivate(QEvent::WindowDeactivate);
        QApplication::sendEvent(editor.get(), &deactivate);
        ASSERT_TRUE(WaitSendsAnswered());
        Settle(30);
        EXPECT_EQ(gpioCommands(), (Sent{{6, 1}, {6, 0}}));
        QTest::keyRelease(six, Qt::Key_Space);
        Settle(30);
        EXPECT_EQ(gpioCommands(), (Sent{{6, 1}, {6, 0}})) << "nothing held any more";

        panel16->ClearReceivedFrames();
        QTest::mousePress(FindControl<ColourButton>(*editor, "BtnGPO", 5), Qt::LeftButton);
        editor->reject();
    });
    EXPECT_EQ(gpioCommands(), (Sent{{5, 1}, {5, 0}})) << "released before the link stopped";
}

TEST_F(EditorKeyboard, DurationsAreEmptyWhileOfflineOnAShownWindow) {
    AddDefaultPanels();
    CreateWindows();
    for (int opening = 0; opening < 2; ++opening) {
        Select(0);
        RunEditor([&] { main->OpenSelectedDevice(); },
                  [&] {
                      EXPECT_EQ(FindControl<DurationField>(*editor, "EditMs", 1)->text(), "");
                      EXPECT_EQ(FindControl<DurationField>(*editor, "EditMs", 16)->text(), "");
                      ASSERT_TRUE(WaitOnline());
                      EXPECT_EQ(FindControl<DurationField>(*editor, "EditMs", 1)->text(), "0.3");
                      FindControl<DurationField>(*editor, "EditMs", 1)->SetValue(1.2);
                      editor->reject();
                  });
    }
}

TEST_F(EditorKeyboard, RestoreCaptionTogglesItsBoxAndDisabledBoxesLookDisabled) {
    WithPanel16Online([&] {
        QTest::mouseClick(FindControl<QCheckBox>(*editor, "BoxSave"), Qt::LeftButton, {},
                          QPoint(80, 20));
        EXPECT_TRUE(FindControl<QCheckBox>(*editor, "BoxSave")->isChecked())
            << "a click on the caption";
        ASSERT_TRUE(WaitSendsAnswered());
        EXPECT_EQ(panel16->Configuration()[ConfigSAVE], 1);
        EXPECT_TRUE(
            FindControl<QCheckBox>(*editor, "BoxSave")->text().contains("Restore GPIO state"));
    });
    editor->GoOffline();
    editor->show();
    const QImage disabled = FindControl<QCheckBox>(*editor, "BoxSave")->grab().toImage();
    bool whiteText = false;
    for (int y = 0; y < disabled.height(); ++y) {
        for (int x = 20; x < disabled.width(); ++x) {
            whiteText = whiteText || disabled.pixelColor(x, y) == Qt::white;
        }
    }
    EXPECT_FALSE(whiteText) << "the caption of a disabled box is greyed";
    editor->hide();
}

TEST_F(EditorKeyboard, WindowsCarryTheProgramIconAndTheNumberSign) {
    CreateWindows();
    EXPECT_FALSE(main->windowIcon().isNull());
    EXPECT_FALSE(editor->windowIcon().isNull());
    EXPECT_TRUE(QFontMetrics(FindControl<Panel>(*editor, "PanN")->font()).inFont(QChar(0x2116)));
}

TEST_F(EditorKeyboard, TheMemoryMapIsReachedWithTabAndToggledWithArrowsAndSpace) {
    WithPanel16Online([&] {
        QTest::mouseClick(FindControl<ColourButton>(*editor, "BtnMem"), Qt::LeftButton);
        editor->activateWindow();
        FindControl<ColourButton>(*editor, "BtnMem")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        auto* map = FindControl<PaintBox>(*editor, "PBoxMem");
        ASSERT_EQ(QApplication::focusWidget(), map);
        EXPECT_EQ(editor->MemoryMap().Hover(), std::make_pair(1, 0))
            << "the first slot's own marker";

        const bool wasEnabled = editor->Model().MemorySlotEnabled(2);
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right,
                                  Qt::Key_Left, Qt::Key_Up, Qt::Key_Down}) {
            QTest::keyClick(map, key);
        }
        EXPECT_EQ(editor->MemoryMap().Hover(), std::make_pair(2, 2));
        QTest::keyClick(map, Qt::Key_Left);
        QTest::keyClick(map, Qt::Key_Left);
        EXPECT_EQ(editor->MemoryMap().Hover(), std::make_pair(2, 0));
        QTest::keyClick(map, Qt::Key_Space);
        ASSERT_TRUE(WaitSendsAnswered());
        EXPECT_NE(editor->Model().MemorySlotEnabled(2), wasEnabled);
        QTest::keyClick(map, Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), map) << "Tab leaves the map";
        EXPECT_EQ(editor->MemoryMap().Hover().first, 0) << "and its cursor goes out with the focus";

        // Hidden again (HIDE), the map takes no focus and no keys.
        panel16->ClearReceivedFrames();
        auto* memoryButton = FindControl<ColourButton>(*editor, "BtnMem");
        QTest::mouseClick(memoryButton, Qt::LeftButton);
        memoryButton->setFocus(Qt::TabFocusReason);
        QTest::keyClick(memoryButton, Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), map);
        for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Down, Qt::Key_Space}) {
            QTest::keyClick(QApplication::focusWidget(), key);
        }
        Settle(50);
        EXPECT_TRUE(CommandsSentTo(*panel16).empty()) << "nothing changed unseen";
    });
}

TEST_F(EditorKeyboard, ShiftF10AndTheMenuKeyOpenTheFocusedControlsContextMenu) {
    WithPanel16Online([&] {
        editor->activateWindow();
        // A duration field takes the focus in Pulse mode only.
        FindControl<ColourButton>(*editor, "BtnPls", 4)->click();
        ASSERT_TRUE(
            WaitFor([&] { return FindControl<DurationField>(*editor, "EditMs", 4)->isEnabled(); }));
        const std::pair<QWidget*, const char*> cases[] = {
            {FindControl<ColourButton>(*editor, ColourButtonName(2, 5)), "SMenu"},
            {FindControl<ColourButton>(*editor, "BtnFix", 3), "MMenu"},
            {FindControl<DurationField>(*editor, "EditMs", 4), "DMenu"},
        };
        for (const auto& [control, menu] : cases) {
            for (const QKeyCombination key :
                 {Qt::SHIFT | Qt::Key_F10, QKeyCombination(Qt::Key_Menu)}) {
                control->setFocus(Qt::TabFocusReason);
                QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
                ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() != nullptr; }))
                    << menu;
                EXPECT_EQ(QApplication::activePopupWidget()->objectName().toStdString(), menu);
                QApplication::activePopupWidget()->close();
            }
        }
    });
}

TEST_F(EditorKeyboard, WindowKeysSaveLoadCloseAndShowTheTest) {
    WithPanel16Online([&] {
        std::vector<Dialogs::FileDialog> asked;
        Dialogs::SetFileChooser([&](Dialogs::FileDialog kind, const QString&) {
            asked.push_back(kind);
            return std::optional<QString>();
        });
        editor->activateWindow();
        FindControl<ColourButton>(*editor, "BtnGPO", 2)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::ControlModifier);
        EXPECT_EQ(asked, (std::vector<Dialogs::FileDialog>{Dialogs::FileDialog::Save,
                                                           Dialogs::FileDialog::Open}));
        ASSERT_TRUE(WaitSendsAnswered()) << "a cancelled load sends the panel's own block";

        EXPECT_FALSE(FindControl<ColourButton>(*editor, "BtnTest")->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_T,
                        Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_TRUE(FindControl<ColourButton>(*editor, "BtnTest")->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::ControlModifier);
        EXPECT_TRUE(WaitFor([&] { return !editor->isVisible(); }));
        Dialogs::SetFileChooser(nullptr);
    });
}

TEST_F(EditorKeyboard, TabVisitsTheStripsRowByRowThenTheSidePanels) {
    WithPanel16Online([&] {
        editor->activateWindow();
        FindControl<Panel>(*editor, "PanN")->setFocus(Qt::TabFocusReason);
        QStringList visited;
        for (int step = 0; step < 22; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QStringList expected{"BoxLock"};
        for (int channel = 1; channel <= ChannelCount; ++channel) {
            expected << QString("BtnGPO%1").arg(channel);
        }
        expected << "BoxGrp1"
                 << "BoxGrp2"
                 << "BoxGrp3"
                 << "BoxGrp4"
                 << "BoxGrp5";
        EXPECT_EQ(visited.join(" ").toStdString(), expected.join(" ").toStdString());

        FindControl<ColourButton>(*editor, ColourButtonName(3, 16))->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), "BtnCtrl1")
            << "after the last strip control, the control panel";
    });
}

} // namespace
