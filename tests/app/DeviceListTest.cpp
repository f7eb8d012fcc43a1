// SPDX-License-Identifier: Apache-2.0
#include "model/IniFile.h"
#include "tests/support/ResidentMemory.h"
#include "tests/support/WindowsFixture.h"
#include "ui/FindControl.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QScreen>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

using DeviceList = WindowsFixture;

QStringList Rows(QTreeWidget* list, int column) {
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        rows << list->topLevelItem(i)->text(column);
    }
    return rows;
}

// How far apart two colours are for the eye (1: the same, 21: black on white).
double ContrastRatio(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& colour) {
        const auto linear = [](double channel) {
            return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    };
    const double lighter = std::max(luminance(a), luminance(b));
    const double darker = std::min(luminance(a), luminance(b));
    return (lighter + 0.05) / (darker + 0.05);
}

// The strongest contrast between any pixel of `area` and the colour at its right end.
double TextContrast(const QImage& image, const QRect& area) {
    const QColor background = image.pixelColor(area.right() - 2, area.center().y());
    double strongest = 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            strongest = std::max(strongest, ContrastRatio(image.pixelColor(x, y), background));
        }
    }
    return strongest;
}

TEST_F(DeviceList, ShowsOnlyFreePanelsOfTheRightChip) {
    AddPanel(0x10, "A.FFFF", "QUVO-8261-16");
    AddPanel(0x11, "B.FFFF", "QUVO-8261-16", 8);        // another chip type
    AddPanel(0x12, "C.FFFF", "QUVO-8261-16", 5, true);  // open in another program
    AddPanel(0x13, "D.FFFF", "Some other device");      // no prefix
    AddPanel(0x14, "E.FF00", "lab quvo-8261-08 bench"); // lower case, not at the start
    CreateWindows();
    EXPECT_EQ(main->windowTitle(), "QUVO-8261 Settings v" QUVO_VERSION);
    EXPECT_EQ(FindControl<QTreeWidget>(*main, "LView")->headerItem()->text(0), "Name");
    EXPECT_EQ(FindControl<QTreeWidget>(*main, "LView")->headerItem()->text(1), "S/N");
    EXPECT_EQ(Rows(FindControl<QTreeWidget>(*main, "LView"), 0),
              (QStringList{"QUVO-8261-16", "lab quvo-8261-08 bench"}));
    EXPECT_EQ(Rows(FindControl<QTreeWidget>(*main, "LView"), 1), (QStringList{"A.FFFF", "E.FF00"}));
    EXPECT_EQ(main->ListedEntries()[1].ListIndex, 4);
    EXPECT_EQ(main->ListedEntries()[1].LocationId, 0x14u);
    EXPECT_TRUE(main->RefreshRunning());
}

TEST_F(DeviceList, RefreshKeepsTheSelectionUnlessTheListChanged) {
    AddDefaultPanels();
    CreateWindows();
    Select(1);
    main->TimerTimer(true);
    ASSERT_NE(FindControl<QTreeWidget>(*main, "LView")->currentItem(), nullptr);
    EXPECT_TRUE(FindControl<QTreeWidget>(*main, "LView")->currentItem()->isSelected());
    EXPECT_EQ(FindControl<QTreeWidget>(*main, "LView")
                  ->indexOfTopLevelItem(FindControl<QTreeWidget>(*main, "LView")->currentItem()),
              1);

    AddPanel(0x77, "N.FFFF", "QUVO-8261-16");
    main->TimerTimer(true);
    EXPECT_EQ(int(main->ListedEntries().size()), 3);
    EXPECT_TRUE(FindControl<QTreeWidget>(*main, "LView")->selectedItems().isEmpty());
}

TEST_F(DeviceList, EnumerationFailureIsShownOnceAndStopsTheRefresh) {
    AddDefaultPanels();
    CreateWindows();
    ASSERT_EQ(int(main->ListedEntries().size()), 2);
    VirtualBus::Instance().FailCall(ApiCall::CreateDeviceInfoList, FT_OTHER_ERROR);
    main->TimerTimer(true);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Cannot get USB Device List");
    EXPECT_EQ(messages[0].caption, "Error");
    EXPECT_EQ(messages[0].icon, Dialogs::Icon::Error);
    EXPECT_FALSE(main->RefreshRunning());
    EXPECT_EQ(int(main->ListedEntries().size()), 2) << "the rows stay as they were";
    main->TimerTimer(true); // a tick queued before the stop does nothing
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(DeviceList, EmptyBusOpensNothingAndKeepsRefreshing) {
    CreateWindows();
    EXPECT_EQ(int(main->ListedEntries().size()), 0);
    QTest::keyClick(FindControl<QTreeWidget>(*main, "LView"), Qt::Key_Return);
    EXPECT_TRUE(main->RefreshRunning());
    EXPECT_TRUE(messages.empty());
}

TEST_F(DeviceList, OpenFailureShowsTheCallAndRefreshes) {
    AddDefaultPanels();
    CreateWindows();
    Select(0);
    VirtualBus::Instance().FailCall(ApiCall::SetBaudRate, 7);
    main->OpenSelectedDevice();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "FT_SetBaudRate - Invalid baud rate...");
    EXPECT_EQ(VirtualBus::Instance().OpenHandleCount(), 0);
    EXPECT_FALSE(ShowErrors);
    EXPECT_TRUE(main->RefreshRunning());
    EXPECT_FALSE(editor->isVisible());
}

TEST_F(DeviceList, WindowSettingsRoundTripAndKeepOtherSections) {
    {
        QFile file(SettingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[DEFAULT]\nDATA=00\n\n[WINDOW]\nLEFT=30\nTOP=40\nWIDTH=640\nHEIGHT=320\n"
                   "COL_NAME_WD=210\n");
    }
    CreateWindows();
    EXPECT_EQ(main->width(), 640);
    EXPECT_EQ(main->height(), 320);
    EXPECT_EQ(FindControl<QTreeWidget>(*main, "LView")->columnWidth(0), 210);
    FindControl<QTreeWidget>(*main, "LView")->setColumnWidth(0, 150);
    main->close();
    const IniFile ini(SettingsFile());
    EXPECT_EQ(ini.ReadString("DEFAULT", "DATA", ""), "00");
    EXPECT_EQ(ini.ReadInteger("WINDOW", "WIDTH", 0), 640);
    EXPECT_EQ(ini.ReadInteger("WINDOW", "COL_NAME_WD", 0), 150);
    EXPECT_FALSE(ini.ReadBool("WINDOW", "MAXIMIZED", true));
    EXPECT_EQ(QString::fromStdString(ini.ReadString("WINDOW", "PATH", "")),
              CurrentPaths().settingsFolder);
}

TEST_F(DeviceList, OversizedWidthFallsBackAndMaximizedLeavesBoundsUnwritten) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    {
        QFile file(SettingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QString("[WINDOW]\nWIDTH=%1\nHEIGHT=%2\nLEFT=11\n")
                       .arg(screen.width() + 1)
                       .arg(screen.height() + 1)
                       .toLatin1());
    }
    CreateWindows();
    EXPECT_EQ(main->width(), 500);
    EXPECT_EQ(main->height(), 300);
    main->showMaximized();
    ASSERT_TRUE(WaitFor([&] { return main->isMaximized(); }));
    main->close();
    const IniFile ini(SettingsFile());
    EXPECT_TRUE(ini.ReadBool("WINDOW", "MAXIMIZED", false));
    EXPECT_EQ(ini.ReadInteger("WINDOW", "LEFT", 0), 11) << "the last normal bounds survive";
    EXPECT_EQ(ini.ReadInteger("WINDOW", "WIDTH", 0), screen.width() + 1);
}

TEST_F(DeviceList, StoredPathBecomesTheSettingsFolderOnlyWhenItExists) {
    const QString existing = settingsFolder.filePath("gpi");
    QDir().mkpath(existing);
    {
        QFile file(SettingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(("[WINDOW]\nPATH=" + existing + "\n").toUtf8());
    }
    CreateWindows();
    EXPECT_EQ(CurrentPaths().settingsFolder, existing + "/");
    main.reset();
    {
        QFile file(SettingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[WINDOW]\nPATH=/no/such/folder\n");
    }
    CreateWindows();
    EXPECT_EQ(CurrentPaths().settingsFolder, existing + "/");
    main.reset();
    {
        QFile file(SettingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[WINDOW]\nPATH=../../../../\n");
    }
    CreateWindows();
    EXPECT_EQ(CurrentPaths().settingsFolder, existing + "/") << "a relative PATH is not taken";

    // A folder whose name begins and ends with a blank is stored and found again.
    const QString spaced = settingsFolder.filePath(" spaced folder ");
    QDir().mkpath(spaced);
    CurrentPaths().settingsFolder = spaced + "/";
    main->SaveWindowSettings();
    main.reset();
    CurrentPaths().settingsFolder = "/";
    CreateWindows();
    EXPECT_EQ(CurrentPaths().settingsFolder, spaced + "/");
}

TEST(ProgramPaths, WithoutADocumentsFolderTheDialogsStartAtHome) {
    const QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    const ProgramPaths installed = PathsForProgram("/proc/QUVO8261");
    qputenv("HOME", oldHome);
    EXPECT_EQ(installed.settingsFolder, home.path() + "/");
}

TEST(ProgramPaths, SettingsFileFollowsTheProgramName) {
    const QTemporaryDir tools;
    const ProgramPaths paths = PathsForProgram(tools.filePath("Renamed.bin"));
    EXPECT_EQ(paths.programFolder, tools.path() + "/");
    EXPECT_EQ(paths.settingsFolder, tools.path() + "/");
    EXPECT_EQ(paths.programSettingsFile, tools.filePath("Renamed.dat"));
}

TEST_F(DeviceList, ADarkDesktopThemeLeavesTheListReadable) {
    const QPalette desktop = QApplication::palette();
    QPalette dark;
    for (const auto& [role, colour] : {std::pair{QPalette::Window, QColor(0x20, 0x20, 0x20)},
                                       {QPalette::WindowText, QColor(0xF0, 0xF0, 0xF0)},
                                       {QPalette::Base, QColor(0x18, 0x18, 0x18)},
                                       {QPalette::Text, QColor(0xF0, 0xF0, 0xF0)},
                                       {QPalette::Button, QColor(0x30, 0x30, 0x30)},
                                       {QPalette::ButtonText, QColor(0xF0, 0xF0, 0xF0)}}) {
        dark.setColor(role, colour);
    }
    QApplication::setPalette(dark);
    AddDefaultPanels();
    CreateWindows();
    main->show();
    auto* list = FindControl<QTreeWidget>(*main, "LView");
    list->clearSelection();
    const QImage shown = list->viewport()->grab().toImage();
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        const QRect rowArea = list->visualItemRect(list->topLevelItem(row));
        EXPECT_GE(TextContrast(shown, rowArea), 4.5) << "row " << row;
    }
    main->hide();
    QApplication::setPalette(desktop);
}

TEST_F(DeviceList, RepaintingTheListKeepsMemoryFlat) {
    AddDefaultPanels();
    CreateWindows();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    auto* list = FindControl<QTreeWidget>(*main, "LView");
    const auto repaintList = [&](int times) {
        for (int time = 0; time < times; ++time) {
            list->viewport()->repaint();
            list->header()->viewport()->repaint();
            list->repaint();
        }
    };
    repaintList(20);
    const std::size_t before = HeapInUseBytes();
    repaintList(300);
    const std::size_t after = HeapInUseBytes();
    EXPECT_LT(after, before + 100 * 1024) << "grew by " << (after - before) / 1024 << " kB";
}

} // namespace
