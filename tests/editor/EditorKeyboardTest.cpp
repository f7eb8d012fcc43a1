// SPDX-License-Identifier: Apache-2.0
#include "tests/support/WindowsFixture.h"
#include "ui/FindControl.h"
#include "ui/ProgramIcon.h"
#include "ui/Widgets.h"

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

} // namespace
