// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ui/ControlText.h"

#include <QVariant>
#include <QWidget>

// Painted controls repaint only when what they show changes: the live status
// sets every colour on every reply.
template <typename Value>
void RepaintOnChange(QWidget& widget, Value& shown, const Value& value) {
    if (shown != value) {
        shown = value;
        widget.update();
    }
}

// A painted caption names its control for screen readers, unless the program
// gave it a name of its own.
inline void NameByCaption(QWidget& control, const QString& caption) {
    if (!control.property("spokenName").toBool()) {
        control.setAccessibleName(DisplayText(caption).simplified());
    }
}
