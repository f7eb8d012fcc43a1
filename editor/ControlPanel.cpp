// SPDX-License-Identifier: Apache-2.0
#include "editor/ControlPanel.h"

#include "editor/EditorControls.h"
#include "editor/EditorGeometry.h"
#include "editor/EditorLook.h"
#include "ui/ColourButton.h"
#include "ui/ColourLabel.h"
#include "ui/ControlText.h"
#include "ui/Speech.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QMenu>

namespace {

constexpr int Width = EditorGeometry::ControlPanelWidth;

void CheckItemAt(QMenu* menu, int position) {
    const QList<QAction*> items = menu->actions();
    for (int i = 0; i < items.size(); ++i) {
        items[i]->setChecked(i == position);
    }
}

// A menu of functions, one checked at most; each item's value is its function.
QMenu* MakeFunctionMenu(QWidget* parent, const QString& name,
                        std::initializer_list<std::pair<const char*, QString>> items) {
    QMenu* menu = MakeMenu(parent, name);
    auto* functions = new QActionGroup(menu);
    functions->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    int function = 0;
    for (const auto& [itemName, caption] : items) {
        functions->addAction(AddMenuItem(menu, itemName, caption, function++))->setCheckable(true);
    }
    return menu;
}

} // namespace

ControlPanel::ControlPanel(QWidget* parent) : Panel(parent) {
    setObjectName("PanCtrl");
    setGeometry(911, 0, Width, EditorGeometry::ChannelAreaHeight);
    BuildMenus();
    Panel* header = MakePanel(this, "PanCtrlHeader", QRect(0, 0, Width, 24));
    header->setFont(PixelFont("Tahoma", 11, true));
    header->SetCaption(tr("Control"));
    Panel* keys = MakePanel(this, "PanKeys", QRect(0, 26, Width, 66));
    for (int key = 0; key < 2; ++key) {
        const QString n = QString::number(key + 1);
        auto* title = new ColourLabel(keys);
        title->setObjectName("LabF" + n);
        title->setGeometry(8 + 66 * key, 2, 62, 14);
        title->SetCaption("F" + n);
        title->setFont(PixelFont("Tahoma", 10));
        ColourButton* button =
            MakeButton(keys, "BtnCtrl" + n, QString(), QRect(8 + 66 * key, 18, 62, 38));
        button->setMenu(menus_[std::size_t(key)]);
        button->SetFaceColour(0x00FFFFFF);
        button->SetTextColour(0x00000000);
        SetSpokenName(*button, tr("F%1 key function").arg(key + 1));
        button->setToolTip(tr("What the panel's F%1 key does; click to choose").arg(key + 1));
        keys_[std::size_t(key)] = button;
    }
    Panel* options = MakePanel(this, "PanOptions", QRect(0, 100, Width, 24));
    options->setFont(PixelFont("Tahoma", 11, true));
    options->SetCaption(tr("Options"));
    // The caption is the box's own text, so it toggles and takes the focus mark;
    // it is broken into two lines to fit the panel.
    restore_ = new QCheckBox(tr("Restore GPIO state\non Power up"), this);
    restore_->setObjectName("BoxSave");
    restore_->setGeometry(6, 128, 136, 32);
    FitButtonText(*restore_);
    restore_->setAccessibleName(tr("Restore GPIO state on Power up"));
    restore_->setToolTip(tr("The panel sets its GPIO outputs as they were when it is powered up"));
    connect(restore_, &QCheckBox::toggled, this, &ControlPanel::BoxSaveClick);
    ForwardClicks(*this, {header, keys, options});
}

void ControlPanel::BuildMenus() {
    // The keys show their function's caption, with its line break.
    captions_[0] = {tr("None"), tr("UnLock")};
    captions_[1] = {tr("None"), tr("GPIO\r\n OFF"), tr("MEM")};
    menus_[0] =
        MakeFunctionMenu(this, "CtrlMenu1",
                         {{"CtrlMenu1None", captions_[0][0]}, {"CtrlMenu1Lock", captions_[0][1]}});
    menus_[1] = MakeFunctionMenu(this, "CtrlMenu2",
                                 {{"CtrlMenu2None", captions_[1][0]},
                                  {"CtrlMenu2GPO", captions_[1][1]},
                                  {"CtrlMenu2Mem", captions_[1][2]}});
    connect(menus_[0], &QMenu::aboutToShow, this, &ControlPanel::CtrlMenu1Popup);
    connect(menus_[0], &QMenu::triggered, this, &ControlPanel::CtrlMenu1NoneClick);
    connect(menus_[1], &QMenu::aboutToShow, this, &ControlPanel::CtrlMenu2Popup);
    connect(menus_[1], &QMenu::triggered, this, &ControlPanel::CtrlMenu2NoneClick);
}

void ControlPanel::ShowOffline() {
    shownStates_ = {-1, -1};
    for (ColourButton* key : keys_) {
        key->SetCaption(QString());
        key->SetFaceColour(WindowColour);
    }
    const QSignalBlocker blocker(restore_);
    restore_->setChecked(false);
}

void ControlPanel::SetEditable(bool editable) {
    for (ColourButton* key : keys_) {
        key->setEnabled(editable);
    }
    restore_->setEnabled(editable);
}

void ControlPanel::ShowFunctions(int f1, int f2) {
    ShowFunction(1, f1);
    ShowFunction(2, f2);
}

void ControlPanel::ShowFunction(int key, int function) {
    functions_[std::size_t(key - 1)] = function;
    ColourButton* button = keys_[std::size_t(key - 1)];
    const QStringList& captions = captions_[std::size_t(key - 1)];
    if (function < captions.size()) {
        button->SetCaption(QString(captions[function]).remove('&'));
    } else {
        // A function the menus do not offer: show its number rather than hide it.
        button->SetCaption(QString("(%1)").arg(function));
    }
    SetSpokenName(
        *button,
        tr("F%1 key function: %2").arg(key).arg(DisplayText(button->Caption()).simplified()));
}

void ControlPanel::ShowKeyStates(int f1State, int f2State) {
    const int states[] = {f1State, f2State};
    for (int key = 1; key <= 2; ++key) {
        ColourButton* button = keys_[std::size_t(key - 1)];
        const int state = states[key - 1];
        const int function = functions_[std::size_t(key - 1)];
        button->SetFaceColour(FunctionKeyBackground(key, state, function));
        button->SetTextColour(FunctionKeyText(key, state, function));
        // Every status passes here: the words change with the key only.
        int& shown = shownStates_[std::size_t(key - 1)];
        if (state != shown) {
            shown = state;
            SetSpokenValue(*button, state != 0 ? tr("pressed") : tr("released"));
        }
    }
}

void ControlPanel::ShowRestoreOnPowerUp(bool restore) {
    const QSignalBlocker blocker(restore_);
    restore_->setChecked(restore);
}

std::vector<QWidget*> ControlPanel::FocusableControls() const {
    return {keys_[0], keys_[1], restore_};
}

// The check follows the function the panel reported, not the last choice,
// until the panel's read-back arrives.
void ControlPanel::CtrlMenu1Popup() {
    CheckItemAt(menus_[0], functions_[0]);
}

void ControlPanel::CtrlMenu1NoneClick(QAction* item) {
    emit KeyFunctionChosen(1, item->data().toInt());
}

void ControlPanel::CtrlMenu2Popup() {
    CheckItemAt(menus_[1], functions_[1]);
}

void ControlPanel::CtrlMenu2NoneClick(QAction* item) {
    emit KeyFunctionChosen(2, item->data().toInt());
}

void ControlPanel::BoxSaveClick() {
    emit RestoreOnPowerUpToggled(restore_->isChecked());
}
