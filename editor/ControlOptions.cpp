// SPDX-License-Identifier: Apache-2.0
// The panel-wide options: the F1/F2 key functions, restore-on-power-up and key
// lock, and the hidden way to show the TEST button.
#include "editor/UnitGPI.h"

#include "ui/ColourButton.h"
#include "ui/ColourLabel.h"
#include "ui/ControlText.h"
#include "ui/DurationField.h"
#include "ui/OwnerDrawnMenu.h"
#include "ui/PaintBox.h"
#include "ui/Panel.h"
#include "ui/ScreenColour.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QTimer>

namespace {

void CheckItemAt(QMenu* menu, int position) {
    const QList<QAction*> items = menu->actions();
    for (int i = 0; i < items.size(); ++i) {
        items[i]->setChecked(i == position);
    }
}

} // namespace

void TFormEdit::ConnectControlOptions() {
    connect(CtrlMenu1, &QMenu::aboutToShow, this, &TFormEdit::CtrlMenu1Popup);
    connect(CtrlMenu1, &QMenu::triggered, this, &TFormEdit::CtrlMenu1NoneClick);
    connect(CtrlMenu2, &QMenu::aboutToShow, this, &TFormEdit::CtrlMenu2Popup);
    connect(CtrlMenu2, &QMenu::triggered, this, &TFormEdit::CtrlMenu2NoneClick);
    connect(BoxSave, &QCheckBox::toggled, this, &TFormEdit::BoxSaveClick);
    connect(BoxLock, &QCheckBox::toggled, this, &TFormEdit::BoxLockClick);
    connect(PanTemp, &Panel::DoubleClicked, this, &TFormEdit::PanTempDblClick);
    connect(PanCtrl, &Panel::DoubleClicked, this, &TFormEdit::PanTempDblClick);
    connect(BtnTest, &QPushButton::clicked, this, &TFormEdit::BtnTestClick);
    connect(TimerTest, &QTimer::timeout, this, &TFormEdit::TimerTestTimer);
}

// The caption shows the function the panel reported; the check follows it, not
// the last choice, until the panel's read-back arrives.
void TFormEdit::CtrlMenu1Popup() {
    CheckItemAt(CtrlMenu1, TagOf(BtnCtrl1));
}

void TFormEdit::CtrlMenu1NoneClick(QAction* item) {
    Post(model_.SetKeyFunction(1, item->data().toInt()));
}

void TFormEdit::CtrlMenu2Popup() {
    CheckItemAt(CtrlMenu2, TagOf(BtnCtrl2));
}

void TFormEdit::CtrlMenu2NoneClick(QAction* item) {
    Post(model_.SetKeyFunction(2, item->data().toInt()));
}

void TFormEdit::BoxSaveClick() {
    if (!updating_) {
        Post(model_.SetRestoreOnPowerUp(BoxSave->isChecked()));
    }
}

void TFormEdit::BoxLockClick() {
    if (!updating_) {
        Post(model_.SetKeyLock(BoxLock->isChecked()));
    }
}

void TFormEdit::PanTempDblClick(Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::ControlModifier) {
        BtnTest->show();
    }
}
