// SPDX-License-Identifier: Apache-2.0
#include "tests/support/WindowsFixture.h"
#include "ui/ColourButton.h"
#include "ui/FindControl.h"
#include "ui/PaintBox.h"
#include "ui/Panel.h"
#include "ui/ScreenColour.h"
#include "ui/WindowPlacement.h"

#include <QAbstractButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

namespace {

class MemoryMapView : public WindowsFixture {
protected:
    ScreenColour At(int x, int y) const {
        return ScreenFromQColor(editor->MemoryMap().Image().pixelColor(x, y));
    }
    // Text is white, smoothed at its edges: any light pixel counts.
    bool AnyText(const QRect& area) const {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor pixel = editor->MemoryMap().Image().pixelColor(x, y);
                if (pixel.red() > 0xC0 && pixel.green() > 0xC0 && pixel.blue() > 0xC0) {
                    return true;
                }
            }
        }
        return false;
    }
    // Centre of cell (row, column) as laid out at 879 x 417.
    static QPoint CellCentre(int row, int column) {
        const int left = column == 0 ? 0 : 96 + 49 * (column - 1);
        const int right = column == 0 ? 96 : left + 49;
        const int top = 31 + 24 * (row - 1);
        return {(left + right) / 2, top + 12};
    }
    static bool Member(const ConfigBlock& block, int slot, int member) {
        const int k = (member - 1) / 4;
        const int j = (member - 1) % 4;
        return (block[MemoryByteOffset(slot, k)] >> j) & 1;
    }
    // The mouse over cell (row, column); the map is drawn again.
    void Hover(int row, int column) {
        editor->MemoryMap().PBoxMemMouseMove(CellCentre(row, column));
        ASSERT_EQ(editor->MemoryMap().Hover(), std::make_pair(row, column));
    }
    // The editor shown with the factory values of a 16-channel panel, no link.
    void ShowEditorWithFactoryValues() {
        CreateWindows();
        editor->SetChannelMask("FFFF");
        editor->GoOffline();
        ConfigBlock block;
        LoadFactoryValues(block);
        editor->ApplyConfiguration(block);
        editor->show();
    }
    // Eight channels, slot 1 enabled with members 2 and 3, slot 2 disabled with member 1.
    ConfigBlock EightChannelMap() {
        ConfigBlock block;
        LoadFactoryValues(block);
        block[RecordOffset(1) + RecordISMEM] = 1;
        block[MemoryByteOffset(1, 0)] = 0b0110;
        block[MemoryByteOffset(2, 0)] = 0b0001;
        return block;
    }
};

TEST_F(MemoryMapView, DrawnCellsLabelsAndMarkers) {
    CreateWindows();
    editor->SetChannelMask("FF00");
    editor->GoOffline();
    ASSERT_EQ(editor->MemoryMap().Image().size(), QSize(879, 417));

    // Offline: grid, labels and the hovered row, but no markers.
    Hover(2, 0);
    EXPECT_EQ(At(300, 295), 0x00FFFFFFu) << "grid line above the absent row 12";
    EXPECT_EQ(At(96, 300), 0x00FFFFFFu) << "grid line left of column 1";
    EXPECT_EQ(At(296, 58), 0x00995555u) << "hovered row";
    EXPECT_EQ(At(120, 66), 0x00995555u) << "no marker offline";
    EXPECT_TRUE(AnyText(QRect(200, 2, 40, 27))) << "column number 3";
    EXPECT_FALSE(AnyText(QRect(637, 2, 46, 27))) << "no number for column 12";
    EXPECT_TRUE(AnyText(QRect(30, 33, 60, 20))) << "\"Slot 1\"";
    EXPECT_FALSE(AnyText(QRect(2, 297, 92, 20))) << "no label for slot 12";
    Hover(12, 0);
    EXPECT_EQ(At(296, 300), 0x00808080u) << "absent rows are never highlighted";

    editor->MemoryMap().PanMemDrawMouseLeave();
    editor->ApplyConfiguration(EightChannelMap());
    ASSERT_TRUE(editor->Model().Online());
    const QPoint member = CellCentre(1, 2);
    EXPECT_EQ(At(member.x(), member.y()), 0x0055FF55u) << "member of an enabled slot";
    const QPoint other = CellCentre(1, 4);
    EXPECT_EQ(At(other.x(), other.y()), 0x00DCDCDCu);
    const QPoint disabled = CellCentre(2, 1);
    EXPECT_EQ(At(disabled.x(), disabled.y()), 0x00808080u) << "disabled slot";
    EXPECT_EQ(At(disabled.x() - 7, disabled.y()), 0x0099A8ACu) << "its outline";
    EXPECT_EQ(At(17, CellCentre(1, 0).y()), 0x00FF5555u) << "enabled slot header";
    EXPECT_EQ(At(17, CellCentre(2, 0).y()), 0x00DCDCDCu);
    const QPoint absent = CellCentre(1, 12);
    EXPECT_EQ(At(absent.x(), absent.y()), 0x00808080u) << "no marker for an absent column";

    // Cell (1, 1) spans 96..144 x 31..54: a 15 x 10 marker at x 113..127, y 38..47.
    EXPECT_EQ(At(113, 42), 0x0099A8ACu);
    EXPECT_EQ(At(112, 42), 0x00808080u);
    Hover(1, 1);
    EXPECT_EQ(At(110, 42), 0x00BCD6DEu) << "6 x 4 larger under the mouse";
    EXPECT_EQ(At(109, 42), 0x00995555u);
    Hover(2, 1);
    const QPoint left = CellCentre(2, 1);
    EXPECT_EQ(At(left.x() - 10, left.y()), 0x00995555u) << "not grown in a disabled slot";
    Hover(2, 0);
    EXPECT_EQ(At(7, CellCentre(2, 0).y()), 0x00BCD6DEu) << "the header marker grows";
    EXPECT_EQ(At(6, CellCentre(2, 0).y()), 0x00995555u);
}

TEST_F(MemoryMapView, ClicksToggleMembersAndSlots) {
    AddDefaultPanels();
    panel8->SetConfiguration(EightChannelMap());
    WithEditorOnline(1, [&] {
        FindControl<QAbstractButton>(*editor, "BtnMem")->click();
        panel8->ClearReceivedFrames();
        const auto click = [&](int row, int column) {
            QTest::mouseClick(FindControl<PaintBox>(*editor, "PBoxMem"), Qt::LeftButton, {},
                              CellCentre(row, column));
        };
        // Nothing: absent column, disabled slot, absent row, header row, outside.
        click(1, 12);
        click(2, 3);
        click(12, 0);
        QTest::mouseClick(FindControl<PaintBox>(*editor, "PBoxMem"), Qt::LeftButton, {},
                          QPoint(300, 10));
        QTest::mouseClick(FindControl<PaintBox>(*editor, "PBoxMem"), Qt::RightButton, {},
                          QPoint(300, 416));
        Settle(50);
        EXPECT_TRUE(WrittenBlocks(*panel8).empty());

        click(1, 4);
        ASSERT_TRUE(WaitSendsAnswered());
        ConfigBlock sent = WrittenBlocks(*panel8).back();
        EXPECT_TRUE(Member(sent, 1, 4));
        EXPECT_TRUE(Member(sent, 1, 2));
        EXPECT_FALSE(Member(sent, 1, 1));

        QTest::mouseClick(FindControl<PaintBox>(*editor, "PBoxMem"), Qt::RightButton, {},
                          CellCentre(1, 0));
        ASSERT_TRUE(WaitSendsAnswered());
        sent = WrittenBlocks(*panel8).back();
        EXPECT_EQ(sent[RecordOffset(1) + RecordISMEM], 0);
        EXPECT_TRUE(Member(sent, 1, 4)) << "members stay with a disabled slot";

        click(1, 0);
        ASSERT_TRUE(WaitSendsAnswered());
        sent = WrittenBlocks(*panel8).back();
        EXPECT_EQ(sent[RecordOffset(1) + RecordISMEM], 1);
        EXPECT_TRUE(editor->Model().MemoryLink(1, 2) && editor->Model().MemoryLink(1, 3) &&
                    editor->Model().MemoryLink(1, 4))
            << "re-enabling brings the members back";
        EXPECT_EQ(WrittenBlocks(*panel8).size(), 3u) << "one send per toggle";
        editor->reject();
    });
}

TEST_F(MemoryMapView, HoverFollowsTheMouse) {
    CreateWindows();
    editor->SetChannelMask("FFFF");
    editor->GoOffline();
    QTest::mouseMove(FindControl<PaintBox>(*editor, "PBoxMem"), CellCentre(3, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(CellCentre(3, 5)), QPointF(), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(FindControl<PaintBox>(*editor, "PBoxMem"), &move);
    EXPECT_EQ(editor->MemoryMap().Hover().first, 3);
    EXPECT_EQ(editor->MemoryMap().Hover().second, 5);
    QMouseEvent outside(QEvent::MouseMove, QPointF(300, 10), QPointF(), Qt::NoButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(FindControl<PaintBox>(*editor, "PBoxMem"), &outside);
    EXPECT_EQ(editor->MemoryMap().Hover().first, 0);
    editor->MemoryMap().PBoxMemMouseMove(CellCentre(4, 0));
    EXPECT_EQ(editor->MemoryMap().Hover().first, 4);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(FindControl<QWidget>(*editor, "PanMemDraw"), &leave);
    EXPECT_EQ(editor->MemoryMap().Hover().first, 0);
}

TEST_F(MemoryMapView, MemoryButtonShowsAndHidesThePanel) {
    ShowEditorWithFactoryValues();
    const QRect workArea = editor->screen()->availableGeometry();
    editor->move(workArea.x() + 10, workArea.y() + 100);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    const int buttonTop = FindControl<ColourButton>(*editor, "BtnMem")->y();

    QTest::mouseClick(FindControl<ColourButton>(*editor, "BtnMem"), Qt::LeftButton);
    EXPECT_EQ(editor->height(), 819);
    EXPECT_EQ(FindControl<Panel>(*editor, "PanTemp")->height(), 819);
    EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnMem")->Caption(), "HIDE");
    EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnMem")->y(), 819 - 48);
    const int expectedTop =
        TopAfterGrowing(workArea.y() + 100, editor->frameGeometry().height() - 419, 419,
                        workArea.y(), workArea.y() + workArea.height());
    EXPECT_TRUE(WaitFor([&] { return editor->frameGeometry().y() == expectedTop; }))
        << editor->frameGeometry().y() << " instead of " << expectedTop;

    QTest::mouseClick(FindControl<ColourButton>(*editor, "BtnMem"), Qt::LeftButton);
    EXPECT_EQ(editor->height(), 400);
    EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnMem")->y(), buttonTop);
    EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnMem")->Caption(), "MEMORY");
    QTest::mouseClick(FindControl<ColourButton>(*editor, "BtnMem"), Qt::LeftButton);
    EXPECT_EQ(editor->height(), 819);
    editor->GoOffline();
    EXPECT_EQ(editor->height(), 819) << "shown for the next panel as well";
    editor->hide();
}

TEST_F(MemoryMapView, OnASmallScreenEveryControlScrollsIntoView) {
    ShowEditorWithFactoryValues();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    QTest::mouseClick(FindControl<ColourButton>(*editor, "BtnMem"), Qt::LeftButton);
    ASSERT_EQ(FindControl<ColourButton>(*editor, "BtnMem")->Caption(), "HIDE");
    // A 1150 x 500 work area at scale factor 2.
    editor->FitToWorkArea(QRect(0, 0, 575, 250));
    EXPECT_LE(editor->width(), 575);
    EXPECT_LE(editor->height(), 250);
    auto* scrollArea = FindControl<QScrollArea>(*editor, "EditorScroll");
    const QRect viewport = scrollArea->viewport()->rect();
    QStringList outOfReach;
    for (QWidget* control : scrollArea->widget()->findChildren<QWidget*>()) {
        if (!control->isVisibleTo(editor.get()) ||
            (control->focusPolicy() == Qt::NoFocus && !qobject_cast<QAbstractButton*>(control))) {
            continue;
        }
        const QPoint place = control->mapTo(scrollArea->widget(), QPoint(0, 0));
        const bool fits =
            control->width() <= viewport.width() && control->height() <= viewport.height();
        if (fits) {
            scrollArea->ensureWidgetVisible(control, 0, 0);
            const QRect shown(control->mapTo(scrollArea->viewport(), QPoint(0, 0)),
                              control->size());
            if (!viewport.contains(shown)) {
                outOfReach << control->objectName();
            }
        } else if (place.x() > scrollArea->horizontalScrollBar()->maximum() ||
                   place.y() > scrollArea->verticalScrollBar()->maximum()) {
            // Larger than the screen (the memory map): its corner can be scrolled to.
            outOfReach << control->objectName();
        }
    }
    EXPECT_TRUE(outOfReach.isEmpty()) << outOfReach.join(", ").toStdString();
    scrollArea->ensureWidgetVisible(FindControl<ColourButton>(*editor, "BtnMem"), 0, 0);
    QTest::mouseClick(FindControl<ColourButton>(*editor, "BtnMem"), Qt::LeftButton);
    EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnMem")->Caption(), "MEMORY")
        << "HIDE is reached and pressed";
    editor->hide();
}

} // namespace
