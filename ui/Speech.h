// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QAccessible>
#include <QString>

#include <functional>

class QWidget;

// What screen readers say about a control. Painted controls have no text of
// their own for them, and live states change without any focus moving, so
// both are told here.

// The control's name; a change is announced. A painted caption no longer
// names the control once this has.
void SetSpokenName(QWidget& control, const QString& name);

// A painted state (a lamp, the lock state, a key held) as the control's value;
// a change is announced.
void SetSpokenValue(QWidget& control, const QString& value);

// The control's name and its tooltip together, for controls whose meaning the
// screen does not show in words (colour swatches, lamps).
void SetSpokenNameAndTip(QWidget& control, const QString& name);

// Sees every announcement as it is made (tests; screen readers are told anyway,
// where the platform has an accessibility bridge). None: stop seeing them.
using AnnouncementRecorder =
    std::function<void(QWidget& control, QAccessible::Event kind, const QString& text)>;
void SetAnnouncementRecorder(AnnouncementRecorder recorder);
