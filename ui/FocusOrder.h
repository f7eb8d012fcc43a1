// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QRect>

#include <vector>

// The order in which a reader's eye meets controls at `places`: rows from top
// to bottom, each from left to right. A control belongs to a row when its
// middle lies within the height of the row's first (topmost) control, so that
// controls a few pixels apart still read as one row. Gives indices into `places`.
std::vector<int> ReadingOrder(const std::vector<QRect>& places);

// The control Tab (`next`) or Shift+Tab moves to among `count`, round the end:
// from `current`, or from outside the order (-1) to the first or the last.
int NextInTabOrder(int current, int count, bool next);
