// SPDX-License-Identifier: Apache-2.0
#include "ui/Speech.h"

#include <QWidget>

namespace {

AnnouncementRecorder& Recorder() {
    static AnnouncementRecorder recorder;
    return recorder;
}

void Announce(QWidget& control, QAccessibleEvent& event, const QString& text) {
    if (Recorder()) {
        Recorder()(control, event.type(), text);
    }
    QAccessible::updateAccessibility(&event);
}

} // namespace

void SetAnnouncementRecorder(AnnouncementRecorder recorder) {
    Recorder() = std::move(recorder);
}

void SetSpokenName(QWidget& control, const QString& name) {
    control.setProperty("spokenName", true);
    if (control.accessibleName() != name) {
        control.setAccessibleName(name);
        QAccessibleEvent changed(&control, QAccessible::NameChanged);
        Announce(control, changed, name);
    }
}

void SetSpokenValue(QWidget& control, const QString& value) {
    if (control.accessibleDescription() != value) {
        control.setAccessibleDescription(value);
        QAccessibleValueChangeEvent changed(&control, value);
        Announce(control, changed, value);
    }
}

void SetSpokenNameAndTip(QWidget& control, const QString& name) {
    SetSpokenName(control, name);
    control.setToolTip(name);
}
