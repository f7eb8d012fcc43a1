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

QRect BesideWithoutCovering(const QRect& other, const QSize& wanted, const QRect& area, int gap) {
    // Smaller than this, a side is no place for a window.
    constexpr int UsableWidth = 200;
    constexpr int UsableHeight = 150;
    const QRect right(other.right() + 1 + gap, area.top(), area.right() - other.right() - gap,
                      area.height());
    const QRect below(area.left(), other.bottom() + 1 + gap, area.width(),
                      area.bottom() - other.bottom() - gap);
    const auto topBeside = [&](int height) {
        return std::max(area.top(), std::min(other.top(), area.bottom() + 1 - height));
    };
    const auto leftBelow = [&](int width) {
        return std::max(area.left(), std::min(other.left(), area.right() + 1 - width));
    };
    if (wanted.width() <= right.width() && wanted.height() <= right.height()) {
        return {QPoint(right.left(), topBeside(wanted.height())), wanted};
    }
    if (wanted.width() <= below.width() && wanted.height() <= below.height()) {
        return {QPoint(leftBelow(wanted.width()), below.top()), wanted};
    }
    const bool rightUsable = right.width() >= UsableWidth && right.height() >= UsableHeight;
    const bool belowUsable = below.width() >= UsableWidth && below.height() >= UsableHeight;
    const long long rightRoom = rightUsable ? 1LL * right.width() * right.height() : 0;
    const long long belowRoom = belowUsable ? 1LL * below.width() * below.height() : 0;
    if (rightRoom > 0 && rightRoom >= belowRoom) {
        const QSize size = wanted.boundedTo(right.size());
        return {QPoint(right.left(), topBeside(size.height())), size};
    }
    if (belowRoom > 0) {
        const QSize size = wanted.boundedTo(below.size());
        return {QPoint(leftBelow(size.width()), below.top()), size};
    }
    const QSize size = wanted.boundedTo(area.size());
    return {KeptInside(QRect(other.topRight() + QPoint(gap, 0), size), area), size};
}
