// SPDX-License-Identifier: Apache-2.0
// The strips' menus: the swatch menu under every colour button (palette,
// custom colour, "OFF"), the brightness menu of the legend buttons, the copy
// menu of the colour buttons, and the mode and duration menus.
#include "editor/StripMenus.h"

#include "editor/EditorControls.h"
#include "editor/EditorLook.h"
#include "editor/EditorModel.h"
#include "ui/ControlText.h"
#include "ui/OwnerDrawnMenu.h"
#include "ui/ScreenColour.h"

#include <QAction>
#include <QActionGroup>
#include <QPainter>

namespace {

constexpr ScreenColour Silver = 0x00C0C0C0;
// The colour buttons' size, which the swatches take.
constexpr QSize ColourButtonSize(36, 31);

QFont SmallFont(int points) {
    // Pixel sizes of "Small Fonts" at 6 and 7 pt; drawn without smoothing, as the
    // bitmap font it stands for.
    QFont font = PixelFont("Small Fonts", points == 6 ? 8 : 9);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

StripMenus::StripMenus(const EditorModel& model, QWidget* window) : QObject(window), model_(model) {
    BuildMenus(window);
}

void StripMenus::BuildMenus(QWidget* window) {
    CMenu = new OwnerDrawnMenu(window);
    CMenu->setObjectName("CMenu");
    for (int slot = 1; slot <= OffSlot; ++slot) {
        AddMenuItem(CMenu, QString("CMenuItem%1").arg(slot), QString(), slot);
    }
    CMenu->SetItemPainter(
        [this] { return CMenuItemMeasureItem(); },
        [this](QPainter& painter, const QRect& area, const QAction* item, bool selected) {
            CMenuItemDrawItem(painter, area, item->data().toInt(), selected);
        });
    connect(CMenu, &QMenu::triggered, this, &StripMenus::CMenuItemClick);

    BMenu = MakeMenu(window, "BMenu");
    auto* levels = new QActionGroup(BMenu);
    levels->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const std::pair<const char*, int> levelItems[] = {{"100%", 255}, {"75%", 192},
                                                      {"50%", 128},  {"30%", 64},
                                                      {"15%", 32},   {QT_TR_NOOP("Min"), 4}};
    const char* const levelNames[] = {"BMenu100", "BMenu75", "BMenu50",
                                      "BMenu30",  "BMenu15", "BMenuMin"};
    for (std::size_t i = 0; i < std::size(levelItems); ++i) {
        levels
            ->addAction(
                AddMenuItem(BMenu, levelNames[i], tr(levelItems[i].first), levelItems[i].second))
            ->setCheckable(true);
    }
    BMenu->addSeparator();
    levels->addAction(AddMenuItem(BMenu, "BMenu0", tr("None"), 0))->setCheckable(true);
    connect(BMenu, &QMenu::aboutToShow, this, &StripMenus::BMenuPopup);
    connect(BMenu, &QMenu::triggered, this, &StripMenus::BMenu100Click);

    SMenu = MakeMenu(window, "SMenu");
    connect(AddMenuItem(SMenu, "SMenuCA", tr("copy Color -> All")), &QAction::triggered, this,
            &StripMenus::SMenuCAClick);
    connect(AddMenuItem(SMenu, "SMenuCG", tr("copy Color -> Same Group")), &QAction::triggered,
            this, &StripMenus::SMenuCGClick);
    SMenu->addSeparator();
    connect(AddMenuItem(SMenu, "SMenuSA", tr("serialize Colors -> All")), &QAction::triggered, this,
            &StripMenus::SMenuSAClick);
    connect(AddMenuItem(SMenu, "SMenuSG", tr("serialize Colors -> Same Group")),
            &QAction::triggered, this, &StripMenus::SMenuSGClick);

    MMenu = MakeMenu(window, "MMenu");
    connect(AddMenuItem(MMenu, "MMenuCA", tr("All")), &QAction::triggered, this,
            &StripMenus::MMenuCAClick);
    connect(AddMenuItem(MMenu, "MMenuCG", tr("Same Group")), &QAction::triggered, this,
            &StripMenus::MMenuCGClick);
    DMenu = MakeMenu(window, "DMenu");
    connect(AddMenuItem(DMenu, "DMenuCA", tr("All")), &QAction::triggered, this,
            &StripMenus::DMenuCAClick);
    connect(AddMenuItem(DMenu, "DMenuCG", tr("Same Group")), &QAction::triggered, this,
            &StripMenus::DMenuCGClick);
}

QMenu* StripMenus::ColourMenu() const {
    return CMenu;
}

void StripMenus::AimColourMenu(int channel, int state) {
    colourTarget_ = {channel, state, 0};
}

void StripMenus::AimBrightnessMenu(int state) {
    brightnessState_ = state;
}

void StripMenus::OpenModeMenu(int channel, int mode, const QString& caption, QPoint at) {
    MMenuPopup(channel, mode, caption);
    MMenu->popup(at);
}

void StripMenus::OpenDurationMenu(int channel, double seconds, QPoint at) {
    DMenuPopup(channel, seconds);
    DMenu->popup(at);
}

void StripMenus::AimCopyMenu(int channel, int state) {
    copyTarget_ = {channel, state, 0};
}

void StripMenus::OpenCopyMenu(int channel, int state, QPoint at) {
    AimCopyMenu(channel, state);
    SMenu->popup(at);
}

void StripMenus::MMenuPopup(int channel, int mode, const QString& caption) {
    modeTarget_ = {channel, 0, mode};
    MMenu->actions()[0]->setText(tr("set %1 mode -> All").arg(caption));
    MMenu->actions()[1]->setText(tr("set %1 mode -> Same Group").arg(caption));
}

void StripMenus::MMenuCAClick() {
    emit ModeToAll(modeTarget_.channel, modeTarget_.mode, false);
}

void StripMenus::MMenuCGClick() {
    emit ModeToAll(modeTarget_.channel, modeTarget_.mode, true);
}

void StripMenus::DMenuPopup(int channel, double seconds) {
    durationTarget_ = {channel, 0, 0};
    const QString text = QString::number(seconds, 'f', 1);
    DMenu->actions()[0]->setText(tr("set Duration = %1 sec. -> All").arg(text));
    DMenu->actions()[1]->setText(tr("set Duration = %1 sec. -> Same Group").arg(text));
}

void StripMenus::DMenuCAClick() {
    emit DurationToAll(durationTarget_.channel, false);
}

void StripMenus::DMenuCGClick() {
    emit DurationToAll(durationTarget_.channel, true);
}

QSize StripMenus::CMenuItemMeasureItem() const {
    return {ColourButtonSize.width() + 5 - CMenu->CheckMarkWidth(), ColourButtonSize.height() + 4};
}

void StripMenus::CMenuItemDrawItem(QPainter& painter, const QRect& area, int slot,
                                   bool selected) const {
    const ScreenColour pen = selected ? 0x00000000 : Silver;
    painter.fillRect(area, QColorFromScreen(selected ? 0x00EDEDED : WindowColour));

    ScreenColour swatch = 0;
    if (slot == CustomSlot) {
        const auto [channel, state, mode] = colourTarget_;
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

void StripMenus::CMenuItemClick(QAction* item) {
    emit ColourChosen(colourTarget_.channel, colourTarget_.state, item->data().toInt());
}

void StripMenus::BMenuPopup() {
    const int level = model_.Colour(brightnessState_, 1).Brightness;
    for (QAction* item : BMenu->actions()) {
        if (item->isCheckable()) {
            item->setChecked(item->data().toInt() == level);
        }
    }
}

void StripMenus::BMenu100Click(QAction* item) {
    if (item->isCheckable()) {
        emit BrightnessChosen(brightnessState_, item->data().toInt() & 0xFF);
    }
}

void StripMenus::SMenuCAClick() {
    emit ColoursCopied(copyTarget_.channel, copyTarget_.state, false, false);
}

void StripMenus::SMenuCGClick() {
    emit ColoursCopied(copyTarget_.channel, copyTarget_.state, false, true);
}

void StripMenus::SMenuSAClick() {
    emit ColoursCopied(copyTarget_.channel, copyTarget_.state, true, false);
}

void StripMenus::SMenuSGClick() {
    emit ColoursCopied(copyTarget_.channel, copyTarget_.state, true, true);
}
