// SPDX-License-Identifier: Apache-2.0
#include "editor/PopupEscapeFilter.h"

#include "link/ThreadHandOff.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

PopupEscapeFilter::PopupEscapeFilter(QWidget* editor, bool& popupWasOpen)
    : QObject(editor), editor_(editor), popupWasOpen_(popupWasOpen) {}

bool PopupEscapeFilter::eventFilter(QObject* watched, QEvent* event) {
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
