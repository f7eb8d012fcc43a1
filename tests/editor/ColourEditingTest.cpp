// SPDX-License-Identifier: Apache-2.0
#include "tests/support/WindowsFixture.h"
#include "ui/ColourButton.h"
#include "ui/FindControl.h"
#include "ui/OwnerDrawnMenu.h"
#include "ui/PaintBox.h"
#include "ui/ScreenColour.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QPainter>

namespace {

class ColourEditing : public WindowsFixture {
protected:
    // Presses the colour button of (state, channel), which opens the swatch menu,
    // and picks a slot.
    void ChooseSlot(int state, int channel, int slot) {
        emit FindControl<ColourButton>(*editor, ColourButtonName(state, channel))->pressed();
        Item(QString("CMenuItem%1").arg(slot))->trigger();
    }
    static DeviceColour ColourIn(const ConfigBlock& block, int channel, int state) {
        const std::size_t at = ColourOffset(channel, state);
        return {block[at], block[at + 1], block[at + 2], block[at + 3]};
    }
    ConfigBlock LastWritten() {
        const auto blocks = WrittenBlocks(*panel16);
        return blocks.empty() ? ConfigBlock{} : blocks.back();
    }
    // Draws one swatch item as the menu does and returns the picture.
    QImage DrawnItem(int slot, bool selected) {
        const QSize size(41, 35);
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        editor->Menus().CMenuItemDrawItem(painter, QRect(QPoint(0, 0), size), slot, selected);
        return image;
    }
    static ScreenColour At(const QImage& image, int x, int y) {
        return ScreenFromQColor(image.pixelColor(x, y));
    }
    static bool Contains(const QImage& image, const QRect& area, ScreenColour colour) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (At(image, x, y) == colour) {
                    return true;
                }
            }
        }
        return false;
    }
};

TEST_F(ColourEditing, PaletteCustomAndOffReachThePanelAndComeBackAsReadBack) {
    WithPanel16Online([&] {
        ChooseSlot(1, 3, 10);
        ASSERT_TRUE(WaitSendsAnswered());
        EXPECT_EQ(ColourIn(LastWritten(), 3, 1), (DeviceColour{127, 127, 127, 96}))
            << "white, the entry's brightness kept";
        EXPECT_EQ(editor->Model().Colour(1, 3).PaletteSlot, 10);

        Dialogs::SetColourChooser([](const QColor&) { return QColor(255, 255, 255); });
        ChooseSlot(1, 3, CustomSlot);
        ASSERT_TRUE(WaitSendsAnswered());
        EXPECT_EQ(ColourIn(LastWritten(), 3, 1), (DeviceColour{127, 127, 127, 96}));
        EXPECT_EQ(editor->Model().Colour(1, 3).PaletteSlot, 10) << "the first palette match";
        EXPECT_EQ(At(DrawnItem(CustomSlot, false), 20, 17), 0x00FFFFFFu);

        QColor offered;
        Dialogs::SetColourChooser([&](const QColor& initial) {
            offered = initial;
            return QColor(0x13, 0x35, 0x57);
        });
        ChooseSlot(2, 4, CustomSlot);
        EXPECT_EQ(offered, QColor(255, 0, 0)) << "the dialog starts at the entry's colour";
        EXPECT_EQ(At(DrawnItem(CustomSlot, false), 4, 4), 0x00573513u)
            << "the custom swatch shows the target's own colour";
        ASSERT_TRUE(WaitSendsAnswered());
        EXPECT_EQ(ColourIn(LastWritten(), 4, 2), (DeviceColour{0x2B, 0x1A, 0x09, 96}));
        EXPECT_EQ(editor->Model().Colour(2, 4).ScreenColor, 0x00563412u);
        EXPECT_EQ(editor->Model().Colour(2, 4).PaletteSlot, CustomSlot);
        EXPECT_EQ(FindControl<ColourButton>(*editor, ColourButtonName(2, 4))->FaceColour(),
                  0x00563412u);

        Dialogs::SetColourChooser([](const QColor&) { return QColor(1, 255, 1); });
        ChooseSlot(0, 5, CustomSlot);
        ASSERT_TRUE(WaitSendsAnswered());
        EXPECT_EQ(editor->Model().Colour(0, 5).ScreenColor, 0x0000FF00u);
        EXPECT_EQ(editor->Model().Colour(0, 5).PaletteSlot, 1) << "green again after the read-back";

        ChooseSlot(3, 6, OffSlot);
        ASSERT_TRUE(WaitSendsAnswered());
        EXPECT_EQ(ColourIn(LastWritten(), 6, 3), (DeviceColour{0, 0, 0, 96}));
        EXPECT_EQ(FindControl<ColourButton>(*editor, ColourButtonName(3, 6))->FaceColour(),
                  0x00808080u);
        EXPECT_EQ(FindControl<ColourButton>(*editor, ColourButtonName(3, 6))->Caption(), "Off");
    });
}

TEST_F(ColourEditing, CancelSendsNothingAndEditsDuringASendGoOutTogether) {
    WithPanel16Online([&] {
        Dialogs::SetColourChooser([](const QColor&) { return std::nullopt; });
        const ColourEntry before = editor->Model().Colour(1, 2);
        ChooseSlot(1, 2, CustomSlot);
        Settle(50);
        EXPECT_TRUE(WrittenBlocks(*panel16).empty());
        EXPECT_EQ(editor->Model().Colour(1, 2), before);

        ChooseSlot(0, 1, 2);
        ChooseSlot(0, 2, 3);
        ChooseSlot(0, 3, 4);
        ASSERT_TRUE(WaitSendsAnswered());
        Settle(30);
        const auto blocks = WrittenBlocks(*panel16);
        ASSERT_EQ(blocks.size(), 2u);
        EXPECT_EQ(ColourIn(blocks[0], 1, 0), (DeviceColour{0, 0, 127, 2})) << "red";
        EXPECT_EQ(ColourIn(blocks[0], 2, 0), (DeviceColour{127, 127, 127, 2})) << "not yet";
        EXPECT_EQ(ColourIn(blocks[1], 2, 0), (DeviceColour{127, 0, 0, 2})) << "blue";
        EXPECT_EQ(ColourIn(blocks[1], 3, 0), (DeviceColour{0, 127, 72, 2})) << "yellow-green";
    });
}

TEST_F(ColourEditing, BrightnessMenuSetsOneStateOnAllChannels) {
    WithPanel16Online([&] {
        ColourButton* legend = FindControl<ColourButton>(*editor, ColourButtonName(2, 0));
        emit legend->pressed();
        Item("BMenu30")->trigger();
        ASSERT_TRUE(WaitSendsAnswered());
        const ConfigBlock sent = LastWritten();
        for (int channel = 1; channel <= ChannelCount; ++channel) {
            EXPECT_EQ(ColourIn(sent, channel, 2)[ColourIntensity], 32) << channel;
            EXPECT_EQ(ColourIn(sent, channel, 1)[ColourIntensity], 96) << "other states stay";
        }
        EXPECT_EQ(legend->Caption(), "GPI\r\nBr: 30%");

        ConfigBlock block = panel16->Configuration();
        block[ColourOffset(2, 2) + ColourIntensity] = 127;
        editor->ApplyConfiguration(block);
        emit FindControl<QMenu>(*editor, "BMenu")->aboutToShow();
        EXPECT_TRUE(Item("BMenu30")->isChecked()) << "channel 1 decides";
        EXPECT_FALSE(Item("BMenu100")->isChecked());

        block[ColourOffset(1, 2) + ColourIntensity] = 50;
        editor->ApplyConfiguration(block);
        emit FindControl<QMenu>(*editor, "BMenu")->aboutToShow();
        for (const char* name :
             {"BMenu100", "BMenu75", "BMenu50", "BMenu30", "BMenu15", "BMenuMin", "BMenu0"}) {
            EXPECT_FALSE(Item(name)->isChecked()) << name;
        }
        Item("BMenu100")->trigger();
        ASSERT_TRUE(WaitSendsAnswered());
        EXPECT_EQ(ColourIn(LastWritten(), 1, 2)[ColourIntensity], 127);
    });
}

TEST_F(ColourEditing, TheCopyMenuCopiesFromTheButtonItWasOpenedOn) {
    ConfigBlock block;
    LoadFactoryValues(block);
    const DeviceColour source[4] = {{1, 2, 3, 4}, {10, 20, 30, 40}, {0, 0, 127, 127}, {5, 6, 7, 8}};
    for (int state = 0; state < 4; ++state) {
        std::copy(source[state].begin(), source[state].end(),
                  block.begin() + ColourOffset(4, state));
    }
    for (int channel : {4, 16}) {
        block[RecordOffset(channel) + RecordGROUP] = 5;
    }
    AddDefaultPanels();
    panel16->SetConfiguration(block);
    WithEditorOnline(0, [&] {
        panel16->ClearReceivedFrames();
        emit FindControl<ColourButton>(*editor, ColourButtonName(1, 4))
            ->customContextMenuRequested(QPoint(5, 5));
        FindControl<QMenu>(*editor, "SMenu")->hide();
        Item("SMenuSG")->trigger();
        ASSERT_TRUE(WaitSendsAnswered());
        const auto blocks = WrittenBlocks(*panel16);
        ASSERT_EQ(blocks.size(), 1u);
        for (int state = 0; state < 4; ++state) {
            EXPECT_EQ(ColourIn(blocks[0], 16, state), source[state]) << state;
            EXPECT_EQ(ColourIn(blocks[0], 2, state), ColourIn(block, 2, state)) << state;
        }
    });
}

TEST_F(ColourEditing, SwatchItemsAndIndicatorsAreDrawnAsSpecified) {
    AddDefaultPanels();
    CreateWindows();
    editor->SetChannelMask("FFFF");
    editor->GoOffline();
    ConfigBlock block;
    LoadFactoryValues(block);
    block[ColourOffset(1, 0) + ColourIntensity] = 0;
    block[ColourOffset(1, 1) + ColourIntensity] = 64;
    block[ColourOffset(1, 2) + ColourIntensity] = 127;
    editor->ApplyConfiguration(block);
    emit FindControl<ColourButton>(*editor, ColourButtonName(0, 1))->pressed();

    EXPECT_EQ(editor->Menus().CMenuItemMeasureItem(),
              QSize(41 - FindControl<OwnerDrawnMenu>(*editor, "CMenu")->CheckMarkWidth(), 35));

    const QImage plain = DrawnItem(3, false);
    EXPECT_EQ(At(plain, 0, 0), 0x00808080u);
    EXPECT_EQ(At(plain, 1, 1), 0x00808080u);
    EXPECT_EQ(At(plain, 2, 2), 0x00C0C0C0u) << "outline at the 2 px inset";
    EXPECT_EQ(At(plain, 38, 32), 0x00C0C0C0u);
    EXPECT_EQ(At(plain, 39, 33), 0x00808080u);
    EXPECT_EQ(At(plain, 20, 17), ColourPalette[3]);
    const QImage selected = DrawnItem(3, true);
    EXPECT_EQ(At(selected, 0, 0), 0x00EDEDEDu);
    EXPECT_EQ(At(selected, 2, 2), 0x00000000u);

    const QImage custom = DrawnItem(CustomSlot, false);
    EXPECT_EQ(At(custom, 4, 4), 0x00FFFFFFu) << "white while the target is no custom colour";
    EXPECT_TRUE(Contains(custom, QRect(3, 3, 35, 29), 0x00000000u)) << "inverted text";
    const QImage off = DrawnItem(OffSlot, true);
    EXPECT_EQ(At(off, 4, 4), 0x00C0C0C0u);
    EXPECT_TRUE(Contains(off, QRect(3, 3, 35, 29), 0x00000000u)) << "black \"OFF\"";

    // Indicators: no frame and no bar at intensity 0, 16 px at level 128, all at 255.
    const QImage none = FindControl<PaintBox>(*editor, "IndC", 0)->grab().toImage();
    const QImage half = FindControl<PaintBox>(*editor, "IndC", 1)->grab().toImage();
    const QImage full = FindControl<PaintBox>(*editor, "IndC", 2)->grab().toImage();
    ASSERT_EQ(half.size(), QSize(5, 31));
    for (int y = 0; y < 31; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(At(none, x, y), 0x00808080u) << x << "," << y;
        }
    }
    EXPECT_EQ(At(half, 0, 0), 0x00C0C0C0u) << "frame";
    EXPECT_EQ(At(half, 2, 13), 0x00808080u);
    EXPECT_EQ(At(half, 2, 14), 0x00FFFFFFu) << "16 rows from the bottom";
    EXPECT_EQ(At(half, 2, 29), 0x00FFFFFFu);
    EXPECT_EQ(At(half, 2, 30), 0x00C0C0C0u);
    EXPECT_EQ(At(full, 2, 0), 0x00FFFFFFu) << "covers the frame's top line";
    EXPECT_EQ(At(full, 0, 0), 0x00C0C0C0u);
    EXPECT_EQ(At(full, 2, 30), 0x00C0C0C0u);

    editor->GoOffline();
    const QImage offline = FindControl<PaintBox>(*editor, "IndC", 2)->grab().toImage();
    EXPECT_EQ(At(offline, 2, 10), 0x00808080u);
}

} // namespace
