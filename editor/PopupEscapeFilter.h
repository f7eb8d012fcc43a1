// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QObject>

class QWidget;

// Sees every key event of the program while the editor lives and remembers an
// Escape pressed while one of the editor's drop-downs, popups or menus was open.
// Qt closes that popup itself, and under X11 it does so before it runs the
// window's Escape shortcut, which must then leave the editor open.
class PopupEscapeFilter : public QObject {
public:
    PopupEscapeFilter(QWidget* editor, bool& popupWasOpen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* editor_;
    bool& popupWasOpen_;
};
