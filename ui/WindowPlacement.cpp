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
