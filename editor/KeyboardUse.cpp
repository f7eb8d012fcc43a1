// SPDX-License-Identifier: Apache-2.0
// The editor from the keyboard alone: the window's own keys, Escape with a
// popup open, the context menu of the focused control and the order in which
// Tab visits the controls.
#include "editor/UnitGPI.h"

#include "editor/ChannelStrip.h"
#include "editor/CommandColumn.h"
#include "editor/ControlPanel.h"
#include "editor/LegendColumn.h"
#include "editor/MemoryMapView.h"
#include "link/ThreadHandOff.h"
#include "ui/FocusOrder.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QShortcut>

#include <algorithm>

namespace {

// Sees every key event of the program while the editor lives and remembers an
// Escape pressed while one of the editor's drop-downs, popups or menus was open.
// Qt closes that popup itself, and under X11 it does so before it runs the
// window's Escape shortcut, which must then leave the editor open.
class PopupEscapeFilter : public QObject {
public:
    PopupEscapeFilter(QWidget* editor, bool& popupWasOpen)
        : QObject(editor), editor_(editor), popupWasOpen_(popupWasOpen) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // This filter sees the link thread's events too, before the window does.
        HandOffAcquire(event);
        const QEvent::Type type = event->type();
        if ((type == QEvent::ShortcutOverride || type == QEvent::KeyPress) &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            // isAncestorOf stops at the popup's own window; the parents do not.
            for (const QWidget* owner = QApplication::activePopupWidget(); owner != nullptr;
                 owner = owner->parentWidget()) {
                if (owner == editor_) {
                    popupWasOpen_ = true;
                    break;
                }
            }
        } else if (type == QEvent::KeyRelease &&
                   static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            popupWasOpen_ = false;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* editor_;
    bool& popupWasOpen_;
};

} // namespace

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
        {QKeySequence::Undo, &TFormEdit::MenuUndoClick},
        {QKeySequence("Ctrl+Shift+Z"), &TFormEdit::MenuRedoClick},
        {QKeySequence("Ctrl+Y"), &TFormEdit::MenuRedoClick},
    });
    // The window sees Escape before any control does.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &TFormEdit::EscapePressed);
    qApp->installEventFilter(new PopupEscapeFilter(this, escapeClosesPopup_));
    CollectTabOrder();
}

// The keys do what the menu items do, and only while the model takes them.
void TFormEdit::LoadFileKey() {
    MenuLoadFileClick();
}

void TFormEdit::SaveFileKey() {
    MenuSaveFileClick();
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
    std::vector<QWidget*> strips = legend_->FocusableControls();
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        const std::vector<QWidget*> controls = strips_[std::size_t(channel)]->FocusableControls();
        strips.insert(strips.end(), controls.begin(), controls.end());
    }
    const std::vector<QWidget*> areas[] = {strips,
                                           controlPanel_->FocusableControls(),
                                           commands_->FocusableControls(),
                                           {memoryMap_->Map()}};
    for (const std::vector<QWidget*>& controls : areas) {
        std::vector<QRect> places;
        for (const QWidget* control : controls) {
            places.emplace_back(control->mapTo(canvas_, QPoint(0, 0)), control->size());
        }
        for (const int index : ReadingOrder(places)) {
            tabOrder_.push_back(controls[std::size_t(index)]);
        }
    }
}

// Qt's own focus chain follows the order the controls were made in, which is
// column by column; Tab follows the screen instead. A hidden part (the memory
// map) takes no focus.
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
