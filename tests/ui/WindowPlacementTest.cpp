// SPDX-License-Identifier: Apache-2.0
#include "ui/WindowPlacement.h"
#include "tests/support/WindowsFixture.h"
#include "ui/FindControl.h"

#include <QFile>
#include <QScreen>
#include <QTest>

namespace {

TEST(WindowPlacement, TitleBarOnAScreenKeepsThePlaceElseTheWindowMovesOnThePrimary) {
    const QRect primary(0, 0, 1920, 1050);
    const QRect right(1920, 0, 1280, 1024);
    const QList<QRect> both{primary, right};
    struct Case {
        QRect window;
        QList<QRect> areas;
        QPoint expected;
    };
    const Case cases[] = {
        {{100, 100, 500, 300}, both, {100, 100}},
        {{3000, 200, 500, 300}, both, {3000, 200}} /* on the second monitor */,
        {{3000, 200, 500, 300}, {primary}, {1420, 200}} /* that monitor is gone */,
        {{3000, 2000, 500, 300}, {primary}, {1420, 750}},
        {{-460, 10, 500, 300}, {primary}, {-460, 10}} /* 40 px of the title bar to grab */,
        {{-470, 10, 500, 300}, {primary}, {0, 10}},
        {{100, 1045, 500, 300}, {primary}, {100, 750}},
        {{100, -15, 500, 300}, {primary}, {100, 0}},
        {{-100000, -100000, 3000, 2000}, {primary}, {0, 0}} /* larger than the screen */,
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReachablePosition(c.window, c.areas, primary), c.expected)
            << c.window.x() << "," << c.window.y();
    }
}

using StoredPlacement = WindowsFixture;

TEST_F(StoredPlacement, OffScreenAndHugeValuesGiveAReachableWindow) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const char* const files[] = {
        "[WINDOW]\nLEFT=3000\nTOP=2000\n",
        "[WINDOW]\nLEFT=-4294967296\nTOP=99999999999\nWIDTH=4294967896\nHEIGHT=-7\n",
    };
    for (const char* text : files) {
        SCOPED_TRACE(text);
        {
            QFile file(SettingsFile());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(text);
        }
        CreateWindows();
        EXPECT_TRUE(area.contains(main->geometry().topLeft()));
        EXPECT_LE(main->width(), 500) << "a width larger than the screen falls back";
        main.reset();
        editor.reset();
    }
}

TEST_F(StoredPlacement, AnOversizedSettingsFileIsReportedOnceAndNotOverwritten) {
    const QByteArray huge = "[WINDOW]\nLEFT=5\n" + QByteArray(2 * 1024 * 1024, '\n');
    {
        QFile file(SettingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(huge);
    }
    CreateWindows();
    ASSERT_TRUE(WaitFor([&] { return !messages.empty(); }));
    EXPECT_TRUE(messages[0].text.contains(SettingsFile()));
    main->close();
    EXPECT_EQ(messages.size(), 1u) << "said once";
    QFile file(SettingsFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), huge);
}

TEST_F(StoredPlacement, AFolderNameWithALineBreakIsNotStored) {
    CreateWindows();
    CurrentPaths().settingsFolder = settingsFolder.filePath("a\n[DEFAULT]\nDATA=00/");
    main->close();
    QFile file(SettingsFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_FALSE(text.contains("DEFAULT"));
    EXPECT_FALSE(text.contains("PATH"));
    EXPECT_TRUE(text.contains("LEFT="));
}

TEST_F(StoredPlacement, FirstRowIsSelectedAtStartAndEnterOpensIt) {
    AddDefaultPanels();
    CreateWindows();
    ASSERT_EQ(FindControl<QTreeWidget>(*main, "LView")->selectedItems().size(), 1);
    EXPECT_EQ(
        FindControl<QTreeWidget>(*main, "LView")
            ->indexOfTopLevelItem(FindControl<QTreeWidget>(*main, "LView")->selectedItems()[0]),
        0);
    RunEditor([&] { QTest::keyClick(FindControl<QTreeWidget>(*main, "LView"), Qt::Key_Return); },
              [&] {
                  EXPECT_EQ(editor->windowTitle(), "QUVO-8261-16");
                  const QRect screen = editor->screen()->availableGeometry();
                  EXPECT_TRUE(screen.contains(editor->frameGeometry().topLeft()));
                  editor->reject();
              });
}

TEST(WindowPlacement, GrowingWindowMovesUpOnlyAsFarAsTheWorkAreaAllows) {
    // top, height, growth, work area top and bottom -> new top
    EXPECT_EQ(TopAfterGrowing(100, 400, 419, 0, 1080), 100) << "room enough";
    EXPECT_EQ(TopAfterGrowing(261, 400, 419, 0, 1080), 261) << "exactly enough";
    EXPECT_EQ(TopAfterGrowing(300, 400, 419, 0, 1080), 261);
    EXPECT_EQ(TopAfterGrowing(300, 400, 419, 30, 1080), 261);
    EXPECT_EQ(TopAfterGrowing(100, 400, 419, 30, 800), 30) << "stops at the work area's top";
}

TEST(WindowPlacement, AWindowLargerThanItsRoomScrollsInTheDirectionsThatDoNotFit) {
    struct Case {
        QSize content, room, expected;
        const char* what;
    };
    const Case cases[] = {
        {{1149, 400}, {1600, 1000}, {1149, 400}, "fits: its own size, no scroll bars"},
        {{1149, 400}, {1149, 400}, {1149, 400}, "fits exactly"},
        {{1149, 400}, {800, 500}, {800, 415}, "too wide: a horizontal bar below"},
        {{1149, 819}, {1600, 700}, {1164, 700}, "too tall: a vertical bar beside"},
        {{1149, 400}, {800, 410}, {800, 410}, "the horizontal bar makes it too tall"},
        {{1149, 819}, {1155, 700}, {1155, 700}, "the vertical bar makes it too wide"},
        {{1149, 819}, {800, 500}, {800, 500}, "both"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScrolledWindowSize(c.content, c.room, 15), c.expected) << c.what;
    }
}

// The virtual panels open beside the device list, never over it while a side
// has room: right where it fits, else below, else shrunk into the larger side.
TEST(WindowPlacement, ASecondWindowGoesBesideTheFirstWithoutCoveringIt) {
    const QRect screen(0, 0, 1600, 1000);
    const QRect list(100, 100, 500, 300);
    struct Case {
        const char* name;
        QRect area;
        QSize wanted;
        QRect expected;
    };
    const Case cases[] = {
        {"right, top with the list", screen, {800, 400}, {610, 100, 800, 400}},
        {"right, moved up to fit", screen, {800, 950}, {610, 50, 800, 950}},
        {"below, where the right is too narrow", screen, {1200, 400}, {100, 410, 1200, 400}},
        {"the larger side, shrunk", QRect(0, 0, 800, 700), {1500, 700}, {0, 410, 800, 290}},
        {"right side shrunk", QRect(0, 0, 1600, 450), {1500, 700}, {610, 0, 990, 450}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        const QRect placed = BesideWithoutCovering(list, row.wanted, row.area);
        EXPECT_EQ(placed, row.expected);
        EXPECT_TRUE(row.area.contains(placed));
    }
    // No side has room: inside the screen, over the list.
    const QRect tiny(0, 0, 640, 420);
    const QRect placed = BesideWithoutCovering(list, {900, 500}, tiny);
    EXPECT_TRUE(tiny.contains(placed));
    EXPECT_EQ(placed.size(), tiny.size());
}

} // namespace
