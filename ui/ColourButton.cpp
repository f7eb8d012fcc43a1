// SPDX-License-Identifier: Apache-2.0
#include "ui/ColourButton.h"

#include "ui/PaintedControl.h"
#include "ui/ScreenColour.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

ColourButton::ColourButton(QWidget* parent) : QPushButton(parent) {
    setAttribute(Qt::WA_Hover);
    // Inside a dialog a push button would become the default one, and Enter
    // would press it wherever the focus is.
    setAutoDefault(false);
}

void ColourButton::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
        if (enterClicks_ && isEnabled()) {
            click();
        }
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void ColourButton::focusInEvent(QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    keyboardFocus_ = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                     reason == Qt::ShortcutFocusReason;
    QPushButton::focusInEvent(event);
}

void ColourButton::SetFaceColour(ScreenColour colour) {
    RepaintOnChange(*this, face_, colour);
}

void ColourButton::SetTextColour(ScreenColour colour) {
    RepaintOnChange(*this, text_, colour);
}

void ColourButton::SetCaption(const QString& caption) {
    if (caption_ != caption) {
        caption_ = caption;
        setText(DisplayText(caption));
    }
}

QRect ColourButton::TextArea() const {
    return rect().adjusted(2, 1, -2, -1);
}

bool ColourButton::CaptionFits() const {
    return captionFont_.Fits(font(), TextArea(), CaptionFlags, text());
}

void ColourButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, QColorFromScreen(face_));
    const bool hot = isEnabled() && underMouse();
    painter.setPen(QColorFromScreen(hot ? 0x00C0C0C0 : 0x00606060));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    if (isDown() || (isCheckable() && isChecked())) {
        painter.setPen(QColorFromScreen(0x00404040));
        painter.drawRect(area.adjusted(1, 1, -2, -2));
    }
    painter.setPen(isEnabled() ? QColorFromScreen(text_) : QColor(0xA8, 0xA8, 0xA8));
    const QRect textArea = TextArea().translated(isDown() ? 1 : 0, isDown() ? 1 : 0);
    painter.setFont(captionFont_.For(font(), textArea, CaptionFlags, text()));
    painter.drawText(textArea, CaptionFlags, text());
    if (focusRectangle_ && hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = area.adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    } else if (keyboardFocus_ && hasFocus()) {
        // Dashes in black or white, whichever stands out on the face colour.
        const QColor face = QColorFromScreen(face_);
        painter.setPen(QPen(face.lightnessF() > 0.5 ? Qt::black : Qt::white, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(area.adjusted(3, 3, -4, -4));
    }
}
