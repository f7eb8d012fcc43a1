// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

// The font a painted caption is drawn in: the control's own, or a smaller size
// of it where the caption does not fit its area. Worked out again only when the
// font, the area's size or the caption changes: live states repaint often.
class CaptionFont {
public:
    const QFont& For(const QFont& font, const QRect& area, int flags, const QString& text);
    // The caption fits its area, drawn no smaller than SmallestTextPixels.
    bool Fits(const QFont& font, const QRect& area, int flags, const QString& text);

private:
    QFont font_;
    QFont fitted_;
    QSize size_;
    int flags_ = 0;
    QString text_;
    bool known_ = false;
};
