// SPDX-License-Identifier: Apache-2.0
#include "ui/WindowPlacement.h"

#include <algorithm>

namespace {

// Enough of the title bar to take it with the mouse.
constexpr int TitleBarHeight = 20;
constexpr int GripWidth = 40;

} // namespace

QPoint KeptInside(const QRect& window, const QRect& area) {
    const int left =
        std::max(area.left(), std::min(window.left(), area.right() + 1 - window.width()));
    const int top =
        std::max(area.top(), std::min(window.top(), area.bottom() + 1 - window.height()));
    return {left, top};
}

QPoint ReachablePosition(const QRect& window, const QList<QRect>& availableAreas,
                         const QRect& primaryArea) {
    const QRect titleBar(window.left(), window.top(), window.width(), TitleBarHeight);
    for (const QRect& area : availableAreas) {
        const QRect visible = area.intersected(titleBar);
        if (visible.width() >= std::min(GripWidth, window.width()) &&
            visible.height() >= TitleBarHeight / 2) {
            return window.topLeft();
        }
    }
    return KeptInside(window, primaryArea);
}

int TopAfterGrowing(int windowTop, int windowHeight, int growth, int workAreaTop,
                    int workAreaBottom) {
    const int overflow = workAreaBottom - (windowTop + windowHeight + growth);
    return overflow < 0 ? std::max(windowTop + overflow, workAreaTop) : windowTop;
}

QSize ScrolledWindowSize(const QSize& content, const QSize& room, int scrollBarExtent) {
    bool wide = content.width() > room.width();
    bool tall = content.height() > room.height();
    // A scroll bar takes room from the other direction, which may then not fit.
    tall = tall || (wide && content.height() + scrollBarExtent > room.height());
    wide = wide || (tall && content.width() + scrollBarExtent > room.width());
    const int width = content.width() + (tall ? scrollBarExtent : 0);
    const int height = content.height() + (wide ? scrollBarExtent : 0);
    return {std::min(width, room.width()), std::min(height, room.height())};
}
