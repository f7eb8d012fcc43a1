// SPDX-License-Identifier: Apache-2.0
#include "model/MemoryMap.h"

#include <algorithm>

MemoryMapLayout LayoutMemoryMap(int width, int height, int headerWidth, int headerHeight) {
    constexpr int Count = MemoryMapSize - 1;
    // Edges of columns and rows 0..16; the columns' remainder starts one pixel
    // larger than the rows', so the last column ends one pixel past the bitmap.
    std::array<int, MemoryMapSize> left{}, right{}, top{}, bottom{};
    right[0] = headerWidth;
    bottom[0] = headerHeight;
    left[1] = headerWidth;
    right[1] = headerWidth + (width - headerWidth) / Count;
    int columnRest = width - headerWidth + 1;
    for (int i = 2; i <= Count; ++i) {
        left[i] = right[i - 1];
        columnRest -= right[i - 1] - left[i - 1];
        right[i] = left[i] + columnRest / (MemoryMapSize - i);
    }
    top[1] = headerHeight;
    bottom[1] = headerHeight + (height - headerHeight) / Count;
    int rowRest = height - headerHeight;
    for (int i = 2; i <= Count; ++i) {
        top[i] = bottom[i - 1];
        rowRest -= bottom[i - 1] - top[i - 1];
        bottom[i] = top[i] + rowRest / (MemoryMapSize - i);
    }

    MemoryMapLayout layout;
    for (int r = 0; r < MemoryMapSize; ++r) {
        for (int c = 0; c < MemoryMapSize; ++c) {
            layout.CellRects[r][c] = {left[c], top[r], right[c], bottom[r]};
        }
        // The header column gives its last pixel to column 1.
        layout.CellRects[r][0].Right -= 1;
        layout.CellRects[r][1].Left -= 1;
    }
    layout.MarkerHeight = (bottom[1] - top[1]) * 5 / 12;
    layout.MarkerWidth = layout.MarkerHeight * 3 / 2;
    return layout;
}

std::optional<std::pair<int, int>> HitTestMemoryMap(const MemoryMapLayout& layout, int x, int y) {
    for (int r = 1; r < MemoryMapSize; ++r) {
        for (int c = 0; c < MemoryMapSize; ++c) {
            if (layout.CellRects[r][c].Contains(x, y)) {
                return std::pair{r, c};
            }
        }
    }
    return std::nullopt;
}

std::pair<int, int> StepMemoryCursor(std::pair<int, int> from, int rowStep, int columnStep,
                                     const std::array<bool, MemoryMapSize>& present) {
    auto [row, column] = from;
    for (int r = row + rowStep; rowStep != 0 && r >= 1 && r < MemoryMapSize; r += rowStep) {
        if (present[std::size_t(r)]) {
            row = r;
            break;
        }
    }
    for (int c = column + columnStep; columnStep != 0 && c >= 0 && c < MemoryMapSize;
         c += columnStep) {
        if (c == 0 || present[std::size_t(c)]) {
            column = c;
            break;
        }
    }
    return {row, column};
}
