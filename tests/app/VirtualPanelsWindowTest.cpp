// SPDX-License-Identifier: Apache-2.0
#include "app/VirtualPanelsWindow.h"
#include "app/ProgramStart.h"
#include "tests/support/WindowsFixture.h"
#include "ui/Dialogs.h"
#include "ui/FindControl.h"
#include "ui/ColourButton.h"
#include "ui/ColourLabel.h"
#include "ui/ScreenColour.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdlib>

namespace {

class VirtualPanels : public WindowsFixture {
protected:
    void OpenWindow() {
        window = std::make_unique<VirtualPanelsWindow>();
        window->show();
    }
    const VirtualPanelsWindow::Row& Row16() const { return window->Rows()[0]; }
    static ScreenColour KeyFace(QPushButton* key) {
        return ScreenFromQColor(key->grab().toImage().pixelColor(20, 30));
    }
    static ScreenColour DisplayColourIn(const ConfigBlock& block, int channel, int state) {
        const std::size_t at = ColourOffset(channel, state);
        return DecodeColourEntry({block[at], block[at + 1], block[at + 2], block[at + 3]})
            .DisplayColor;
    }
    void TearDown() override {
        window.reset();
        WindowsFixture::TearDown();
    }
    std::unique_ptr<VirtualPanelsWindow> window;
};

TEST_F(VirtualPanels, KeysFollowTheModeAndTheEditorSeesThem) {
    AddDefaultPanels();
    ConfigBlock block;
    LoadFactoryValues(block);
    block[RecordOffset(2) + RecordMODE] = ModeFixed;
    block[RecordOffset(3) + RecordMODE] = ModePulse;
    block[RecordOffset(3) + RecordDURATION] = 2;
    panel16->SetConfiguration(block);
    OpenWindow();
    ASSERT_EQ(window->Rows().size(), 2u);
    WithEditorOnline(0, [&] {
        QTest::mouseClick(Row16().keys[2], Qt::LeftButton);
        EXPECT_TRUE(WaitFor([&] {
            return FindControl<ColourLabel>(*editor, "IndGPO", 2)->TextColour() == 0x00FFFFFFu;
        })) << "a Fixed key toggles its output on";
        EXPECT_EQ(panel16->Status()[StatusStateOffset(2)], 1);

        QTest::mouseClick(Row16().keys[3], Qt::LeftButton);
        EXPECT_EQ(panel16->Status()[StatusStateOffset(3)], 1);
        EXPECT_TRUE(WaitFor([&] { return panel16->Status()[StatusStateOffset(3)] == 0; }, 1000))
            << "a Pulse key falls back after its duration";

        Row16().gpiSwitches[6]->setChecked(true);
        EXPECT_TRUE(WaitFor([&] {
            return FindControl<ColourLabel>(*editor, "IndGPI", 6)->TextColour() == 0x00FFFFFFu;
        }));
        Row16().lock->setChecked(true);
        FindControl<QCheckBox>(*editor, "BoxLock")->click();
        EXPECT_TRUE(WaitFor(
            [&] { return FindControl<ColourLabel>(*editor, "LabLock")->Caption() == "LOCKED"; }));
        editor->reject();
    });
}

// Presses the mouse on `control` as the window system does, so that a window a
// dialog blocks does not take it.
void PressAsTheSystemDoes(QWidget* control) {
    QWindow* window = control->window()->windowHandle();
    const QPoint at = control->mapTo(control->window(), control->rect().center());
    QTest::mousePress(window, Qt::LeftButton, {}, at);
}

void ReleaseAsTheSystemDoes(QWidget* control) {
    QWindow* window = control->window()->windowHandle();
    const QPoint at = control->mapTo(control->window(), control->rect().center());
    QTest::mouseRelease(window, Qt::LeftButton, {}, at);
}

// A question of the editor blocks the editor only: meanwhile the virtual
// panels' keys still work, and the editor's buttons do not.
TEST_F(VirtualPanels, AnEditorsDialogLeavesTheVirtualPanelsLive) {
    AddDefaultPanels();
    OpenWindow();
    WithEditorOnline(0, [&] {
        Dialogs::SetAnswerer(nullptr); // the real question box
        bool asked = false;
        bool keyWorked = false;
        bool editorTookIt = true;
        QTimer::singleShot(100, [&] {
            QWidget* question = QApplication::activeModalWidget();
            asked = question != nullptr;
            if (!asked) {
                return;
            }
            PressAsTheSystemDoes(Row16().keys[2]);
            keyWorked = panel16->Status()[StatusStateOffset(2)] == 1;
            ReleaseAsTheSystemDoes(Row16().keys[2]);
            panel16->ClearReceivedFrames();
            auto* gpio = FindControl<ColourButton>(*editor, "BtnGPO", 4);
            PressAsTheSystemDoes(gpio);
            ReleaseAsTheSystemDoes(gpio);
            Settle(50);
            editorTookIt = !CommandsSentTo(*panel16).empty();
            question->close();
        });
        EXPECT_FALSE(Dialogs::Confirm(editor.get(), "Load Default values?"));
        ASSERT_TRUE(asked);
        EXPECT_TRUE(keyWorked) << "the virtual panel's key did nothing";
        EXPECT_FALSE(editorTookIt) << "the editor took a click under its question";
        editor->reject();
    });
}

TEST_F(VirtualPanels, KeysShowTheDisplayColourOfTheirState) {
    AddDefaultPanels();
    OpenWindow();
    ConfigBlock block = panel16->Configuration();
    block[ColourOffset(4, 0) + ColourBlue] = 0;
    block[ColourOffset(4, 0) + ColourGreen] = 0;
    block[ColourOffset(4, 0) + ColourRed] = 127;
    block[ColourOffset(4, 0) + ColourIntensity] = 127;
    panel16->SetConfiguration(block);
    panel16->SetGpi(5, true);
    window->Refresh();
    EXPECT_EQ(KeyFace(Row16().keys[4]), DisplayColourIn(block, 4, 0));
    EXPECT_EQ(KeyFace(Row16().keys[5]), DisplayColourIn(block, 5, 2)) << "the GPI state's colour";
    EXPECT_EQ(KeyFace(window->Rows()[1].keys[12]), 0x00303030u) << "absent channels are dark";
}

TEST_F(VirtualPanels, UnplugEndsTheEditorAndPlugBringsThePanelBack) {
    AddDefaultPanels();
    OpenWindow();
    WithEditorOnline(0, [&] {
        Row16().plugged->setChecked(false);
        ExpectEditorClosesItself();
    });
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.startsWith("USB Connection Failed"))
        << messages[0].text.toStdString();
    EXPECT_EQ(int(main->ListedEntries().size()), 1);
    Row16().plugged->setChecked(true);
    main->TimerTimer(true);
    EXPECT_EQ(int(main->ListedEntries().size()), 2) << "listed again";
}

TEST(VirtualPanelsWindow, OnlyWithTheVirtualPanels) {
    EXPECT_TRUE(ShowsVirtualPanels(ParseCommandLine({"--simulate"})));
    EXPECT_TRUE(ShowsVirtualPanels(ParseCommandLine({"--driver=sim"})));
    EXPECT_FALSE(ShowsVirtualPanels(ParseCommandLine({})));
    EXPECT_FALSE(ShowsVirtualPanels(ParseCommandLine({"--driver=d2xx"})));
    EXPECT_FALSE(ShowsVirtualPanels(ParseCommandLine({"--driver=libftdi"})));
}

TEST(CommandLine, DriverChoosesTheBackEnd) {
    const std::pair<QStringList, BackEnd> cases[] = {
        {{}, BackEnd::Automatic},
        {{"--driver=d2xx"}, BackEnd::D2xx},
        {{"--driver=libftdi"}, BackEnd::LibFtdi},
        {{"--driver=sim"}, BackEnd::VirtualPanels},
        {{"test", "--simulate"}, BackEnd::VirtualPanels},
        {{"--simulate", "--driver=libftdi"}, BackEnd::LibFtdi}, // the last one counts
        {{"--driver", "sim"}, BackEnd::VirtualPanels},
        {{"--", "--simulate"}, BackEnd::Automatic}, // after "--" nothing is an option
    };
    for (const auto& [arguments, backEnd] : cases) {
        const CommandLine line = ParseCommandLine(arguments);
        EXPECT_EQ(line.backEnd, backEnd) << arguments.join(' ').toStdString();
        EXPECT_TRUE(line.error.isEmpty());
    }
    for (const char* wrong : {"--driver=", "--driver=ftdi", "--driver=LIBFTDI", "--driver", "-x",
                              "--bogus", "-simulate"}) {
        EXPECT_FALSE(ParseCommandLine({wrong}).error.isEmpty()) << wrong;
    }
    EXPECT_TRUE(ParseCommandLine({"-h"}).help);
    EXPECT_TRUE(ParseCommandLine({"--help"}).help);
    EXPECT_TRUE(ParseCommandLine({"--version"}).version);
}

TEST_F(VirtualPanels, AnUnpluggedPanelIsDark) {
    AddDefaultPanels();
    panel16->SetGpioOutput(4, true);
    OpenWindow();
    window->Refresh();
    constexpr ScreenColour Dark = 0x00303030;
    ASSERT_NE(KeyFace(Row16().keys[4]), Dark) << "lit in the colour of its GPIO state";
    Row16().plugged->setChecked(false);
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        EXPECT_EQ(KeyFace(Row16().keys[channel]), Dark) << "key " << channel;
    }
    for (QPushButton* key : Row16().functionKeys) {
        EXPECT_EQ(KeyFace(key), Dark);
    }
    Row16().plugged->setChecked(true);
    EXPECT_NE(KeyFace(Row16().keys[1]), Dark) << "lit again once plugged in";
}

// A lamp that is off stands out from a dark window as from a light one.
TEST_F(VirtualPanels, ALampThatIsOffIsSeenInADarkTheme) {
    AddDefaultPanels();
    OpenWindow();
    for (const QColor background : {QColor(0x20, 0x20, 0x20), QColor(0xF0, 0xF0, 0xF0)}) {
        QPalette theme = background.lightness() < 128
                             ? QPalette(QColor(0x30, 0x30, 0x30), background)
                             : QPalette(QColor(0xE0, 0xE0, 0xE0), background);
        theme.setColor(QPalette::WindowText,
                       background.lightness() < 128 ? QColor(0xF0, 0xF0, 0xF0) : Qt::black);
        QWidget* lamp = Row16().lamps[3];
        lamp->setPalette(theme);
        lamp->setAutoFillBackground(true);
        const QImage picture = lamp->grab().toImage();
        int strongest = 0;
        for (int x = 0; x < picture.width(); ++x) {
            strongest = std::max(strongest,
                                 std::abs(picture.pixelColor(x, picture.height() / 2).lightness() -
                                          background.lightness()));
        }
        EXPECT_GT(strongest, 100) << "on a window of lightness " << background.lightness();
    }
}

// Smaller than its panels (a small screen, a scale factor of 2), the window
// scrolls to every key, the last panel's plug too.
TEST_F(VirtualPanels, AWindowSmallerThanItsPanelsScrollsToEveryControl) {
    AddDefaultPanels();
    OpenWindow();
    const QSize full = window->FullSize();
    window->resize(full / 2);
    auto* scroll = FindControl<QScrollArea>(*window, "ScrollVirtualPanels");
    EXPECT_GT(scroll->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
    for (QWidget* control : {static_cast<QWidget*>(Row16().keys[16]),
                             static_cast<QWidget*>(window->Rows()[1].plugged)}) {
        scroll->ensureWidgetVisible(control);
        EXPECT_FALSE(control->visibleRegion().isEmpty()) << control->objectName().toStdString();
    }
    window->resize(full);
    EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0) << "whole at its full size";
}

} // namespace
