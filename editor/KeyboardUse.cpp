// SPDX-License-Identifier: Apache-2.0
// The editor from the keyboard alone: the window's own keys, the context menu of
// the focused control, the order in which Tab visits the controls, and a cursor
// over the memory map.
#include "editor/UnitGPI.h"

#include "ui/ColourButton.h"
#include "ui/ColourLabel.h"
#include "ui/ControlText.h"
#include "ui/DurationField.h"
#include "ui/OwnerDrawnMenu.h"
#include "ui/PaintBox.h"
#include "ui/Panel.h"
#include "ui/ScreenColour.h"

#include "model/MemoryMap.h"
#include "ui/FocusOrder.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QShortcut>

#include <algorithm>

void TFormEdit::AddWindowKeys(std::initializer_list<std::pair<QKeySequence, Handler>> keys) {
    for (const auto& [key, handler] : keys) {
        auto* shortcut = new QShortcut(key, this);
        // From every control of the window, the group boxes and duration fields too.
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, handler);
    }
}

void TFormEdit::ConnectKeyboard() {
    AddWindowKeys({
        {QKeySequence(Qt::CTRL | Qt::Key_O), &TFormEdit::LoadFileKey},
        {QKeySequence(Qt::CTRL | Qt::Key_S), &TFormEdit::SaveFileKey},
        {QKeySequence(Qt::CTRL | Qt::Key_W), &TFormEdit::BtnCloseClick},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T), &TFormEdit::ShowTestButton},
        {QKeySequence(Qt::SHIFT | Qt::Key_F10), &TFormEdit::OpenFocusedContextMenu},
        {QKeySequence(Qt::Key_Menu), &TFormEdit::OpenFocusedContextMenu},
    });
    PBoxMem->setFocusPolicy(Qt::TabFocus);
    PBoxMem->SetKeyHandler([this](int key) { return MemoryMapKey(key); });
    connect(PBoxMem, &PaintBox::FocusChanged, this, &TFormEdit::MemoryMapFocusChanged);
    CollectTabOrder();
}

// The keys do what the buttons' menu items do, and only while the buttons could.
void TFormEdit::LoadFileKey() {
    if (BtnLoad->isEnabled() && BtnLoad->isVisible()) {
        findChild<QAction*>("MenuLoadFile")->trigger();
    }
}

void TFormEdit::SaveFileKey() {
    if (BtnSave->isEnabled() && BtnSave->isVisible()) {
        findChild<QAction*>("MenuSaveFile")->trigger();
    }
}

void TFormEdit::ShowTestButton() {
    PanTempDblClick(Qt::ControlModifier);
}

void TFormEdit::OpenFocusedContextMenu() {
    QWidget* focused = focusWidget();
    if (focused == nullptr || !focused->isVisible()) {
        return;
    }
    const QPoint centre = focused->rect().center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, centre, focused->mapToGlobal(centre));
    QApplication::sendEvent(focused, &request);
}

void TFormEdit::CollectTabOrder() {
    for (QWidget* area : {static_cast<QWidget*>(PanBack), static_cast<QWidget*>(PanCtrl),
                          static_cast<QWidget*>(PanTemp), static_cast<QWidget*>(PanMemBack)}) {
        std::vector<QWidget*> controls;
        std::vector<QRect> places;
        for (QWidget* control : area->findChildren<QWidget*>()) {
            // A spin box's own line edit goes with the spin box; a drop-down's
            // list is a window of its own.
            if ((control->focusPolicy() & Qt::TabFocus) != 0 && control->window() == this &&
                qobject_cast<QAbstractSpinBox*>(control->parentWidget()) == nullptr) {
                controls.push_back(control);
                places.emplace_back(control->mapTo(canvas_, QPoint(0, 0)), control->size());
            }
        }
        for (const int index : ReadingOrder(places)) {
            tabOrder_.push_back(controls[std::size_t(index)]);
        }
    }
}

// Qt's own focus chain follows the order the controls were made in, which is
// column by column; Tab follows the screen instead.
bool TFormEdit::focusNextPrevChild(bool next) {
    std::vector<QWidget*> reachable;
    for (QWidget* control : tabOrder_) {
        if (control->isVisible() && control->isEnabled()) {
            reachable.push_back(control);
        }
    }
    if (reachable.empty()) {
        return QDialog::focusNextPrevChild(next);
    }
    QWidget* focused = focusWidget();
    if (focused != nullptr && qobject_cast<QAbstractSpinBox*>(focused->parentWidget())) {
        focused = focused->parentWidget();
    }
    const auto at = std::find(reachable.begin(), reachable.end(), focused);
    const long count = long(reachable.size());
    long index = at == reachable.end() ? (next ? -1 : count) : long(at - reachable.begin());
    index = ((next ? index + 1 : index - 1) % count + count) % count;
    reachable[std::size_t(index)]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

bool TFormEdit::MemoryMapKey(int key) {
    if (hoverRow_ == 0) {
        return false;
    }
    const std::pair<int, int> steps[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    const int arrows[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right};
    for (int i = 0; i < 4; ++i) {
        if (key == arrows[i]) {
            const auto [row, column] = StepMemoryCursor({hoverRow_, hoverColumn_}, steps[i].first,
                                                        steps[i].second, model_.ChannelPresent());
            hoverRow_ = row;
            hoverColumn_ = column;
            RefreshMemoryMap();
            return true;
        }
    }
    if (key == Qt::Key_Space) {
        const PostedBlock block = model_.ToggleMemoryCell(hoverRow_, hoverColumn_);
        RefreshMemoryMap();
        Post(block);
        return true;
    }
    return false;
}

void TFormEdit::MemoryMapFocusChanged(bool focused) {
    // The keyboard's cursor goes with the focus; the mouse's stays while it points.
    if (!focused && !PBoxMem->underMouse()) {
        hoverRow_ = 0;
    }
    if (focused && hoverRow_ == 0) {
        for (int row = 1; row <= ChannelCount; ++row) {
            if (model_.ChannelPresent()[row]) {
                hoverRow_ = row;
                hoverColumn_ = 0;
                break;
            }
        }
    }
    RefreshMemoryMap();
}
