// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/UnitProcs.h"
#include "ui/Panel.h"

#include <array>
#include <cstdint>
#include <vector>

class ColourButton;
class ColourLabel;
class DurationField;
class QButtonGroup;
class QComboBox;
class QMenu;

// One channel's column of the editor ("Pan5"): its number, the GPIO button with
// its output and input lamps, the group, the three mode buttons, the pulse
// duration and the four colour buttons. It says what the user did through its
// signals, with its channel, and shows what the editor gives it; it decides
// nothing itself.
class ChannelStrip : public Panel {
    Q_OBJECT
public:
    // The colour buttons open `colourMenu`; ColourMenuOpening comes first.
    ChannelStrip(int channel, QMenu* colourMenu, QWidget* parent);

    int Channel() const { return channel_; }
    // A channel the panel lacks shows no controls and no number.
    void SetPresent(bool present);
    // No panel: every control greyed and blank.
    void ShowOffline();
    // Which inputs the editor takes now: edits, and presses of the GPIO button.
    void SetUsable(bool editable, bool pressable);
    // The configuration's values; a mode or group the editor does not know shows
    // no mode button down or an empty group box.
    void ShowMode(int mode);
    void ShowGroup(int group);
    void ShowDuration(int tenths);
    void ShowColours(const std::array<ColourEntry, 4>& colours);
    // The live state: bit 0 the GPIO output, bit 1 the GPI input; the button
    // takes the state's display colour.
    void ShowState(std::uint8_t state, ScreenColour displayColour);
    // The mode buttons' faces follow the button that is down, and the duration
    // field is usable in Pulse mode only (the housekeeping timer's tick).
    void KeepModeFaces();
    // The controls Tab reaches, in no particular order.
    std::vector<QWidget*> FocusableControls() const;

    // What the user did, each a handler of the strip's controls.
    void BtnGPO1MouseDown();
    void BtnGPO1MouseUp();
    void BtnGPO1KeyDown();
    void BtnGPO1KeyUp();
    void BtnAny1Click();
    void BtnFix1Click();
    void BtnPls1Click();
    void BoxGrp1Click();
    void EditMs1ButtonClick();

signals:
    void GpioPressed(int channel);
    void GpioReleased(int channel);
    void ModeChosen(int channel, int mode);
    void GroupChosen(int channel, int group);
    void DurationStepped(int channel, int tenths);
    void ModeMenuRequested(int channel, int mode, const QString& caption, QPoint at);
    void DurationMenuRequested(int channel, double seconds, QPoint at);
    void ColourMenuOpening(int channel, int state);
    void ColourCopyMenuRequested(int channel, int state, QPoint at);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Build(QMenu* colourMenu);
    void ChooseMode(int mode);
    void SetModeButtonsExclusive(bool exclusive);

    int channel_;
    Panel* number_ = nullptr;
    ColourLabel* gpioLamp_ = nullptr;
    ColourLabel* gpiLamp_ = nullptr;
    ColourButton* gpioButton_ = nullptr;
    QComboBox* group_ = nullptr;
    QButtonGroup* modeGroup_ = nullptr;
    std::array<ColourButton*, 3> modeButtons_{};
    DurationField* duration_ = nullptr;
    std::array<ColourButton*, 4> colourButtons_{};
    std::uint8_t shownState_ = 0xFF; // the lamps' last state: names change with it only
};
