// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/UnitProcs.h"

#include <QObject>
#include <QPoint>
#include <QSize>

class EditorModel;
class OwnerDrawnMenu;
class QAction;
class QMenu;
class QPainter;
class QRect;
class QWidget;

// The menus the strips and the legend share: mode and duration to all channels
// or the same group (MMenu, DMenu), the swatches under every colour button
// (CMenu), copying colours (SMenu) and the brightness of a signal state
// (BMenu). Each knows the channel, state and mode it was opened for.
class StripMenus : public QObject {
    Q_OBJECT
public:
    // The menus' owner is `window`; the swatch menu shows a custom colour as the
    // model holds it.
    StripMenus(const EditorModel& model, QWidget* window);

    QMenu* ColourMenu() const;
    QMenu* BrightnessMenu() const { return BMenu; }
    // Where the next menu was opened from.
    void AimColourMenu(int channel, int state);
    void AimBrightnessMenu(int state);
    void AimCopyMenu(int channel, int state);
    void OpenModeMenu(int channel, int mode, const QString& caption, QPoint at);
    void OpenDurationMenu(int channel, double seconds, QPoint at);
    void OpenCopyMenu(int channel, int state, QPoint at);

    void MMenuPopup(int channel, int mode, const QString& caption);
    void MMenuCAClick();
    void MMenuCGClick();
    void DMenuPopup(int channel, double seconds);
    void DMenuCAClick();
    void DMenuCGClick();
    QSize CMenuItemMeasureItem() const;
    void CMenuItemDrawItem(QPainter& painter, const QRect& area, int slot, bool selected) const;
    void CMenuItemClick(QAction* item);
    void BMenuPopup();
    void BMenu100Click(QAction* item);
    void SMenuCAClick();
    void SMenuCGClick();
    void SMenuSAClick();
    void SMenuSGClick();

signals:
    void ModeToAll(int channel, int mode, bool sameGroupOnly);
    void DurationToAll(int channel, bool sameGroupOnly);
    // A palette slot, CustomSlot or OffSlot for a channel's signal state.
    void ColourChosen(int channel, int state, int slot);
    void ColoursCopied(int channel, int state, bool allStates, bool sameGroupOnly);
    void BrightnessChosen(int state, int level);

private:
    void BuildMenus(QWidget* window);

    const EditorModel& model_;
    OwnerDrawnMenu* CMenu = nullptr;
    QMenu* BMenu = nullptr;
    QMenu* SMenu = nullptr;
    QMenu* MMenu = nullptr;
    QMenu* DMenu = nullptr;
    // What each menu was opened for.
    struct Target {
        int channel = 0;
        int state = 0;
        int mode = 0;
    };
    Target modeTarget_;
    Target durationTarget_;
    Target colourTarget_;
    Target copyTarget_;
    int brightnessState_ = 0;
};
