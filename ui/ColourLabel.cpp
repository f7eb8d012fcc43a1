// SPDX-License-Identifier: Apache-2.0
#include "ui/ColourLabel.h"

#include "ui/PaintedControl.h"
#include "ui/ScreenColour.h"

#include <QPainter>

ColourLabel::ColourLabel(QWidget* parent, bool vertical) : QWidget(parent), vertical_(vertical) {}

void ColourLabel::SetCaption(const QString& caption) {
    // The lock's caption is set on every status: named only when it changes.
    if (caption_ != caption) {
        NameByCaption(*this, caption);
        RepaintOnChange(*this, caption_, caption);
    }
}

void ColourLabel::SetColours(ScreenColour background, ScreenColour text) {
    if (background_ != background || text_ != text) {
        background_ = background;
        text_ = text;
        update();
    }
}

QRect ColourLabel::TextArea() const {
    return vertical_ ? QRect(0, 0, height(), width()) : rect();
}

bool ColourLabel::CaptionFits() const {
    return captionFont_.Fits(font(), TextArea(), textFlags_, DisplayText(caption_));
}

void ColourLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColorFromScreen(background_));
    painter.setPen(QColorFromScreen(text_));
    if (vertical_) {
        painter.translate(0, height());
        painter.rotate(-90);
    }
    const QRect area = TextArea();
    const QString text = DisplayText(caption_);
    painter.setFont(captionFont_.For(font(), area, textFlags_, text));
    painter.drawText(area, textFlags_, text);
}
