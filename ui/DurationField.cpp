// SPDX-License-Identifier: Apache-2.0
#include "ui/DurationField.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

#include <algorithm>

DurationField::DurationField(QWidget* parent) : QDoubleSpinBox(parent) {
    setRange(0.1, 2.0);
    setSingleStep(0.1);
    setDecimals(1);
    setKeyboardTracking(false);
    lineEdit()->setReadOnly(true);
    setValue(0.3);
}

double DurationField::Value() const {
    return blank_ ? 0.1 : value();
}

void DurationField::SetValue(double seconds) {
    const QSignalBlocker blocker(this);
    blank_ = false;
    setValue(seconds);
    lineEdit()->setText(textFromValue(value()));
}

void DurationField::ClearText() {
    blank_ = true;
    lineEdit()->clear();
}

QString DurationField::textFromValue(double value) const {
    return blank_ ? QString() : QDoubleSpinBox::textFromValue(value);
}

QAbstractSpinBox::StepEnabled DurationField::stepEnabled() const {
    return isEnabled() ? (StepUpEnabled | StepDownEnabled) : StepNone;
}

void DurationField::stepBy(int steps) {
    const double stepped = std::clamp(Value() + 0.1 * steps, 0.1, 2.0);
    SetValue(stepped);
    emit Stepped();
}

void DurationField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
        if (isEnabled()) {
            stepBy(event->key() == Qt::Key_PageUp ? 5 : -5);
        }
        event->accept();
        return;
    }
    QDoubleSpinBox::keyPressEvent(event);
}

void DurationField::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0 && isEnabled()) {
        stepBy(notches * ((event->modifiers() & Qt::ControlModifier) ? 5 : 1));
    }
    event->accept();
}
