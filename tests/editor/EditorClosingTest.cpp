// SPDX-License-Identifier: Apache-2.0
// Closing the editor: nothing the user did is lost, nothing the panel test did
// is left switched on, and Escape closes what is open first.
#include "app/VirtualPanelsWindow.h"
#include "tests/support/WindowsFixture.h"
#include "ui/ColourButton.h"
#include "ui/DurationField.h"
#include "ui/FindControl.h"

#include <QComboBox>
#include <QTest>

namespace {

using EditorClosing = WindowsFixture;

struct WayOfClosing {
    const char* name;
    std::function<void(TFormEdit&)> close;
};

const WayOfClosing WaysOfClosing[] = {
    {"Close", [](TFormEdit& editor) { FindControl<ColourButton>(editor, "BtnClose")->click(); }},
    {"Escape", [](TFormEdit& editor) { QTest::keyClick(&editor, Qt::Key_Escape); }},
    {"the window's close button", [](TFormEdit& editor) { editor.close(); }},
};

TEST_F(EditorClosing, AnEditStillWaitingToBeSentReachesThePanelFirst) {
    for (const WayOfClosing& way : WaysOfClosing) {
        SCOPED_TRACE(way.name);
        VirtualBus::Instance().RemoveAllDevices();
        double shown = 0;
        WithPanel16Online([&] {
            panel16->SetLineTiming(LineModel::BaudRate);
            FindControl<ColourButton>(*editor, "BtnPls", 1)->click();
            ASSERT_TRUE(WaitSendsAnswered());
            // Key repeat: the first step is sent, the others wait for its read-back.
            for (int step = 0; step < 5; ++step) {
                QTest::keyClick(FindControl<DurationField>(*editor, "EditMs", 1), Qt::Key_Up);
            }
            ASSERT_TRUE(editor->Model().SendPending());
            shown = FindControl<DurationField>(*editor, "EditMs", 1)->Value();
            way.close(*editor);
            EXPECT_FALSE(editor->isVisible());
        });
        EXPECT_NEAR(shown, 0.8, 1e-9);
        EXPECT_EQ(panel16->Configuration()[RecordOffset(1) + RecordDURATION], 8)
            << "the panel holds what the editor showed";
        EXPECT_EQ(panel16->Configuration()[RecordOffset(1) + RecordMODE], ModePulse);
        EXPECT_TRUE(messages.empty());
    }
}

TEST_F(EditorClosing, APanelThatStopsAnsweringWhileClosingEndsTheWaitWithTheLinksError) {
    WithPanel16Online([&] {
        FindControl<ColourButton>(*editor, "BtnPls", 1)->click();
        ASSERT_TRUE(WaitSendsAnswered());
        panel16->SetFault({LineFault::NoAnswer});
        DurationField* field = FindControl<DurationField>(*editor, "EditMs", 1);
        field->stepBy(1);
        field->stepBy(1);
        editor->reject();
        EXPECT_FALSE(editor->isVisible());
    });
    ASSERT_EQ(messages.size(), 1u) << "the lost edit is reported, not dropped silently";
    EXPECT_TRUE(messages[0].text.contains("USB Connection Failed"))
        << messages[0].text.toStdString();
}

TEST_F(EditorClosing, EndingThePanelTestSwitchesEveryGpioOutputOff) {
    const auto anyOutputOn = [&] {
        const StatusBlock status = panel16->Status();
        for (int channel = 1; channel <= ChannelCount; ++channel) {
            if (status[StatusStateOffset(channel)] & 1) {
                return true;
            }
        }
        return false;
    };
    const std::pair<const char*, std::function<void()>> ends[] = {
        {"STOP", [&] { editor->BtnTestClick(); }},
        {"Close", [&] { FindControl<ColourButton>(*editor, "BtnClose")->click(); }},
    };
    for (const auto& [name, end] : ends) {
        SCOPED_TRACE(name);
        VirtualBus::Instance().RemoveAllDevices();
        WithPanel16Online([&] {
            editor->SetTestPause([](std::chrono::milliseconds) {});
            editor->BtnTestClick();
            ASSERT_TRUE(WaitFor(anyOutputOn, 20000)) << "the test pressed a GPIO output";
            end();
            EXPECT_TRUE(WaitFor([&] { return !anyOutputOn(); }, 2000));
        });
        EXPECT_FALSE(anyOutputOn());
    }
}

TEST_F(EditorClosing, EscapeClosesAnOpenDropDownBeforeTheEditor) {
    WithPanel16Online([&] {
        editor->activateWindow();
        QComboBox* group = FindControl<QComboBox>(*editor, "BoxGrp", 3);
        group->showPopup();
        ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
        // As under X11: the key goes to the box that owns the popup.
        QTest::keyClick(group, Qt::Key_Escape);
        EXPECT_TRUE(WaitFor([] { return QApplication::activePopupWidget() == nullptr; }));
        Settle(50);
        EXPECT_TRUE(editor->isVisible()) << "only the drop-down closed";
        QTest::keyClick(editor.get(), Qt::Key_Escape);
        EXPECT_FALSE(editor->isVisible());
    });
}

TEST_F(EditorClosing, TheVirtualPanelsStayLiveWhileTheEditorIsOpen) {
    AddDefaultPanels();
    ConfigBlock block;
    LoadFactoryValues(block);
    block[RecordOffset(2) + RecordMODE] = ModeFixed;
    panel16->SetConfiguration(block);
    VirtualPanelsWindow panels;
    panels.show();
    WithEditorOnline(0, [&] {
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        // Through the window system, where a modal window would block the click.
        QPushButton* key = panels.Rows()[0].keys[2];
        const QPoint centre = key->mapTo(&panels, key->rect().center());
        QTest::mouseClick(panels.windowHandle(), Qt::LeftButton, {}, centre);
        EXPECT_TRUE(WaitFor([&] { return panel16->Status()[StatusStateOffset(2)] == 1; }))
            << "a Fixed key toggles its output on";
        editor->reject();
    });
}

} // namespace
