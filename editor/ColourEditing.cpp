// SPDX-License-Identifier: Apache-2.0
// Colour editing: the swatch menu under every colour button (palette, custom
// colour, "OFF"), the brightness menu of the legend buttons, the copy menu of
// the colour buttons and the brightness indicators. Edits change the colour
// entries and are sent; the buttons follow the panel's read-back.
#include "editor/UnitGPI.h"

#include "ui/ColourButton.h"
#include "ui/ColourLabel.h"
#include "ui/ControlText.h"
#include "ui/DurationField.h"
#include "ui/OwnerDrawnMenu.h"
#include "ui/PaintBox.h"
#include "ui/Panel.h"
#include "ui/ScreenColour.h"

#include "editor/EditorLook.h"

#include "ui/Dialogs.h"

#include <QAction>
#include <QComboBox>
#include <QPainter>

#include <cmath>

namespace {

constexpr ScreenColour Silver = 0x00C0C0C0;

QFont SmallFont(int points) {
    // Pixel sizes of "Small Fonts" at 6 and 7 pt; drawn without smoothing, as the
    // bitmap font it stands for.
    QFont font = PixelFont("Small Fonts", points == 6 ? 8 : 9);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

void TFormEdit::ConnectColourEditing() {
    // The opener is recorded on `pressed`, which a menu button raises before its
    // menu opens, so the connection must precede setMenu.
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        for (int state = 0; state < 4; ++state) {
            ColourButton* button = colourButtons_[state][channel];
            connect(button, &QPushButton::pressed, this,
                    [this, button] { SetPopupOpener(CMenu, button); });
            button->setMenu(CMenu);
            connect(button, &QWidget::customContextMenuRequested, this,
                    [this, button](const QPoint& at) {
                        SetPopupOpener(SMenu, button);
                        SMenu->popup(button->mapToGlobal(at));
                    });
        }
    }
    for (int state = 0; state < 4; ++state) {
        ColourButton* legend = colourButtons_[state][0];
        connect(legend, &QPushButton::pressed, this,
                [this, legend] { SetPopupOpener(BMenu, legend); });
        legend->setMenu(BMenu);
        PaintBox* indicator = indicators_[state];
        indicator->SetPainter(
            [this, indicator](QPainter& painter, const QRect&) { IndC0Paint(indicator, painter); });
    }
    CMenu->SetItemPainter(
        [this] { return CMenuItemMeasureItem(); },
        [this](QPainter& painter, const QRect& area, const QAction* item, bool selected) {
            CMenuItemDrawItem(painter, area, item->data().toInt(), selected);
        });
    connect(CMenu, &QMenu::triggered, this, &TFormEdit::CMenuItemClick);
    connect(BMenu, &QMenu::aboutToShow, this, &TFormEdit::BMenuPopup);
    connect(BMenu, &QMenu::triggered, this, &TFormEdit::BMenu100Click);
    ConnectMenuItems({{"SMenuCA", &TFormEdit::SMenuCAClick},
                      {"SMenuCG", &TFormEdit::SMenuCGClick},
                      {"SMenuSA", &TFormEdit::SMenuSAClick},
                      {"SMenuSG", &TFormEdit::SMenuSGClick}});
}

void TFormEdit::SetPopupOpener(QMenu* menu, const QObject* opener) {
    menu->setProperty("openerTag", TagOf(opener));
}

std::pair<int, int> TFormEdit::PopupTarget(const QMenu* menu) const {
    const int tag = menu->property("openerTag").toInt();
    return {tag >> 16, tag & 0xFFFF};
}

QSize TFormEdit::CMenuItemMeasureItem() const {
    const QSize button = colourButtons_[0][1]->size();
    return {button.width() + 5 - CMenu->CheckMarkWidth(), button.height() + 4};
}

void TFormEdit::CMenuItemDrawItem(QPainter& painter, const QRect& area, int slot,
                                  bool selected) const {
    const ScreenColour pen = selected ? 0x00000000 : Silver;
    painter.fillRect(area, QColorFromScreen(selected ? 0x00EDEDED : WindowColour));

    ScreenColour swatch = 0;
    if (slot == CustomSlot) {
        const auto [state, channel] = PopupTarget(CMenu);
        const bool valid = state >= 0 && state < 4 && channel >= 1 && channel <= ChannelCount;
        const ColourEntry* target = valid ? &model_.Colour(state, channel) : nullptr;
        swatch = target != nullptr && target->PaletteSlot == CustomSlot ? target->ScreenColor
                                                                        : ColourPalette[CustomSlot];
    } else if (slot == OffSlot) {
        swatch = Silver;
    } else if (slot >= 1 && slot < OffSlot) {
        swatch = ColourPalette[slot];
    }
    // The swatch is the item shrunk by 2 px, outlined in the pen colour.
    const QRect inset = area.adjusted(2, 2, -2, -2);
    painter.setPen(QColorFromScreen(pen));
    painter.setBrush(QColorFromScreen(swatch));
    painter.drawRect(inset.adjusted(0, 0, -1, -1));

    if (slot == CustomSlot || slot == OffSlot) {
        painter.setFont(SmallFont(slot == CustomSlot ? 6 : 7));
        painter.setPen(QColorFromScreen(slot == CustomSlot ? ~swatch & 0x00FFFFFF : 0));
        painter.setClipRect(inset);
        painter.drawText(inset, Qt::AlignCenter, slot == CustomSlot ? tr("Custom") : tr("OFF"));
        painter.setClipping(false);
    }
}

void TFormEdit::CMenuItemClick(QAction* item) {
    const auto [state, channel] = PopupTarget(CMenu);
    const int slot = item->data().toInt();
    if (!model_.Online() || state > 3 || channel < 1 || channel > ChannelCount) {
        return;
    }
    ScreenColour custom = 0;
    if (slot == CustomSlot) {
        const std::optional<QColor> chosen = Dialogs::ChooseColour(
            this, QColorFromScreen(model_.Colour(state, channel).ScreenColor));
        if (!chosen) {
            return;
        }
        custom = ScreenFromQColor(*chosen);
    }
    Post(model_.SetColour(state, channel, slot, custom));
}

void TFormEdit::BMenuPopup() {
    const int state = PopupTarget(BMenu).second;
    const int level = state >= 0 && state < 4 ? model_.Colour(state, 1).Brightness : -1;
    for (QAction* item : BMenu->actions()) {
        if (item->isCheckable()) {
            item->setChecked(item->data().toInt() == level);
        }
    }
}

void TFormEdit::BMenu100Click(QAction* item) {
    // The legend buttons' tags are their state, in the low 16 bits.
    if (item->isCheckable()) {
        Post(model_.SetBrightnessForAll(PopupTarget(BMenu).second,
                                        std::uint8_t(item->data().toInt() & 0xFF)));
    }
}

void TFormEdit::CopyColours(bool allStates, bool sameGroupOnly) {
    const auto [state, source] = PopupTarget(SMenu);
    Post(model_.CopyColours(state, source, allStates, sameGroupOnly));
}

void TFormEdit::SMenuCAClick() {
    CopyColours(false, false);
}

void TFormEdit::SMenuCGClick() {
    CopyColours(false, true);
}

void TFormEdit::SMenuSAClick() {
    CopyColours(true, false);
}

void TFormEdit::SMenuSGClick() {
    CopyColours(true, true);
}

void TFormEdit::IndC0Paint(const PaintBox* indicator, QPainter& painter) const {
    const QRect client = indicator->rect();
    if (!colourButtons_[0][1]->isEnabled()) {
        painter.fillRect(client, QColorFromScreen(WindowColour));
        return;
    }
    const int state = TagOf(indicator) & 3;
    const int intensity = model_.Configuration()[ColourOffset(1, state) + ColourIntensity];
    const int level = ClampByte(2 * intensity);
    painter.setPen(QColorFromScreen(intensity != 0 ? Silver : WindowColour));
    painter.setBrush(QColorFromScreen(WindowColour));
    painter.drawRect(client.adjusted(0, 0, -1, -1));

    // Halves round to even, as the bar height always has.
    const int bar = int(std::nearbyint(double(level) * client.height() / 255.0));
    const int bottom = client.height() - 1; // exclusive, inside the frame
    const int top = bottom - bar;
    if (bar > 0) {
        painter.fillRect(QRect(QPoint(1, top), QPoint(client.width() - 2, bottom - 1)),
                         QColorFromScreen(0x00FFFFFF));
    }
}
