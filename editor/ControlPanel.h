// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ui/Panel.h"

#include <QStringList>

#include <array>
#include <vector>

class ColourButton;
class QAction;
class QCheckBox;
class QMenu;

// The panel-wide settings ("PanCtrl"): the functions of the keys F1 and F2 with
// their menus, and the option to restore the GPIO state on power-up.
class ControlPanel : public Panel {
    Q_OBJECT
public:
    explicit ControlPanel(QWidget* parent);

    void ShowOffline();
    void SetEditable(bool editable);
    // The functions the panel holds (MODE17, MODE18): the keys' captions and the
    // menus' checks follow them.
    void ShowFunctions(int f1, int f2);
    // The keys' live states, coloured by their functions.
    void ShowKeyStates(int f1State, int f2State);
    void ShowRestoreOnPowerUp(bool restore);
    std::vector<QWidget*> FocusableControls() const;

    void CtrlMenu1Popup();
    void CtrlMenu1NoneClick(QAction* item);
    void CtrlMenu2Popup();
    void CtrlMenu2NoneClick(QAction* item);
    void BoxSaveClick();

signals:
    // `key` 1 or 2.
    void KeyFunctionChosen(int key, int function);
    void RestoreOnPowerUpToggled(bool restore);

private:
    void BuildMenus();
    void ShowFunction(int key, int function);

    std::array<QMenu*, 2> menus_{};
    std::array<ColourButton*, 2> keys_{};
    std::array<int, 2> functions_{};
    std::array<int, 2> shownStates_{-1, -1}; // the keys' states last said

    std::array<QStringList, 2> captions_;
    QCheckBox* restore_ = nullptr;
};
