// SPDX-License-Identifier: Apache-2.0
#include "ui/PaintBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

void PaintBox::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMoved(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
    emit MousePressed(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

void PaintBox::keyPressEvent(QKeyEvent* event) {
    if (keyHandler_ && keyHandler_(event->key())) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PaintBox::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    emit FocusChanged(true);
}

void PaintBox::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    emit FocusChanged(false);
}

void PaintBox::paintEvent(QPaintEvent* event) {
    if (painter_) {
        QPainter painter(this);
        painter_(painter, event->rect());
    }
}
