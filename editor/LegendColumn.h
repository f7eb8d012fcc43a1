// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ui/Panel.h"

#include <array>
#include <optional>
#include <vector>

class ColourButton;
class ColourLabel;
class PaintBox;
class QCheckBox;
class QMenu;
class QPainter;

// The column left of the strips ("Pan0"): the channel numbers' cell, the
// online control with the key lock, the rows' titles and the four signal
// states' buttons with their brightness bars.
class LegendColumn : public Panel {
    Q_OBJECT
public:
    // The state buttons open `brightnessMenu`; BrightnessMenuOpening comes first.
    LegendColumn(QMenu* brightnessMenu, QWidget* parent);

    void ShowOffline();
    void SetEditable(bool editable);
    // Without a signal: the panel's own value.
    void ShowKeyLock(bool installed);
    void ShowLockState(bool locked);
    // A state's intensity as channel 1 stores it (the bar) and its level in words.
    void ShowBrightness(int state, int intensity, const QString& levelText);
    // The cell that takes the focus when the user clicks the background.
    QWidget* ChannelNumbers() const;
    std::vector<QWidget*> FocusableControls() const;
    // The legend's state buttons end here; the memory map's names fit left of it.
    int StateButtonsRight() const;
    int GroupRowHeight() const;

    void BoxLockClick();
    void IndC0Paint(int state, QPainter& painter) const;

signals:
    void KeyLockToggled(bool installed);
    void BrightnessMenuOpening(int state);

private:
    void Build(QMenu* brightnessMenu);

    Panel* numbers_ = nullptr;
    Panel* groupTitle_ = nullptr;
    Panel* stateButtons_ = nullptr;
    QCheckBox* keyLock_ = nullptr;
    ColourLabel* lockState_ = nullptr;
    std::array<ColourButton*, 4> stateButtonsByState_{};
    std::array<PaintBox*, 4> bars_{};
    std::array<int, 4> levels_{};
    bool editable_ = false;
    std::optional<bool> shownLocked_; // the lock state last shown
};
