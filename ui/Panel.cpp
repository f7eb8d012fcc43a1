// SPDX-License-Identifier: Apache-2.0
#include "ui/Panel.h"

#include "ui/PaintedControl.h"
#include "ui/ScreenColour.h"

#include <QMouseEvent>
#include <QPainter>

Panel::Panel(QWidget* parent) : QFrame(parent) {}

void Panel::SetFaceColour(ScreenColour colour) {
    RepaintOnChange(*this, face_, colour);
}

void Panel::SetCaption(const QString& caption, Qt::Alignment alignment) {
    if (caption_ != caption) {
        NameByCaption(*this, caption);
    }
    caption_ = caption;
    alignment_ = alignment;
    update();
}

void Panel::SetTextColour(ScreenColour colour) {
    RepaintOnChange(*this, text_, colour);
}

QRect Panel::TextArea() const {
    return rect().adjusted(2, 0, -2, 0);
}

bool Panel::CaptionFits() const {
    return captionFont_.Fits(font(), TextArea(), int(alignment_), DisplayText(caption_));
}

void Panel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColorFromScreen(face_));
    if (!caption_.isEmpty()) {
        painter.setPen(QColorFromScreen(text_));
        const QRect area = TextArea();
        const QString text = DisplayText(caption_);
        painter.setFont(captionFont_.For(font(), area, int(alignment_), text));
        painter.drawText(area, int(alignment_), text);
    }
}

void Panel::mousePressEvent(QMouseEvent* event) {
    emit Clicked();
    QFrame::mousePressEvent(event);
}

void Panel::leaveEvent(QEvent* event) {
    emit MouseLeft();
    QFrame::leaveEvent(event);
}

void Panel::mouseDoubleClickEvent(QMouseEvent* event) {
    emit DoubleClicked(event->modifiers());
    QFrame::mouseDoubleClickEvent(event);
}
