// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QList>
#include <QRect>

// A window whose stored place lies off every screen (a monitor removed, the
// resolution lowered) is moved where the user can reach it.

// The window keeps `window` while its title bar lies on one of the available
// areas; otherwise it is moved inside `primaryArea`, as far as it fits.
QPoint ReachablePosition(const QRect& window, const QList<QRect>& availableAreas,
                         const QRect& primaryArea);

// The position inside `area` nearest to `window`'s own.
QPoint KeptInside(const QRect& window, const QRect& area);

// Where a window's top goes when it grows by `growth` pixels at the bottom: up by
// as much as it would pass the work area's bottom, but not above the work area.
int TopAfterGrowing(int windowTop, int windowHeight, int growth, int workAreaTop,
                    int workAreaBottom);

// The size of a window that shows `content` through scroll bars of
// `scrollBarExtent` pixels, within `room` (the work area less the window's
// frame): the content's own size where it fits, the room otherwise, with a
// scroll bar added across from each direction that does not fit.
QSize ScrolledWindowSize(const QSize& content, const QSize& room, int scrollBarExtent);

// Where a window of `wanted` size goes beside `other` within `area` without
// covering it: right of it where it fits, else below it; else in the larger of
// the two free sides, shrunk to fit it (the window then scrolls). `other` is
// covered only where neither side has room for a usable window.
QRect BesideWithoutCovering(const QRect& other, const QSize& wanted, const QRect& area,
                            int gap = 10);
