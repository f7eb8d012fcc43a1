// SPDX-License-Identifier: Apache-2.0
#include "ui/CaptionFont.h"

#include "ui/ControlText.h"

#include <QFontMetrics>

namespace {

bool TextFits(const QFont& font, const QRect& area, int flags, const QString& text) {
    const QRect needed = QFontMetrics(font).boundingRect(area, flags, text);
    return needed.width() <= area.width() && needed.height() <= area.height();
}

} // namespace

const QFont& CaptionFont::For(const QFont& font, const QRect& area, int flags,
                              const QString& text) {
    if (!known_ || font_ != font || size_ != area.size() || flags_ != flags || text_ != text) {
        font_ = font;
        size_ = area.size();
        flags_ = flags;
        text_ = text;
        known_ = true;
        fitted_ = font;
        while (fitted_.pixelSize() > SmallestTextPixels && !TextFits(fitted_, area, flags, text)) {
            fitted_.setPixelSize(fitted_.pixelSize() - 1);
        }
    }
    return fitted_;
}

bool CaptionFont::Fits(const QFont& font, const QRect& area, int flags, const QString& text) {
    return TextFits(For(font, area, flags, text), area, flags, text);
}
