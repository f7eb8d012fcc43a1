// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <array>
#include <optional>
#include <utility>

// Geometry of the memory map: a 17 x 17 grid whose row 0 holds the column
// headers and column 0 the row headers, laid out over a bitmap of a given size.

// Left and top inclusive, right and bottom exclusive.
struct CellRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    bool operator==(const CellRect&) const = default;
};

inline constexpr int MemoryMapSize = 17;

struct MemoryMapLayout {
    std::array<std::array<CellRect, MemoryMapSize>, MemoryMapSize> CellRects{};
    int MarkerWidth = 0;
    int MarkerHeight = 0;
};

// `headerWidth` and `headerHeight`: the size of the header cell (0, 0).
MemoryMapLayout LayoutMemoryMap(int width, int height, int headerWidth, int headerHeight);

// The (row, column) of the first cell, rows 1..16 and within a row columns
// 0..16, that contains the point; row 0 is never hit.
std::optional<std::pair<int, int>> HitTestMemoryMap(const MemoryMapLayout& layout, int x, int y);

// Where the keyboard's cell moves from `from` (row 1..16, column 0..16) by
// one step of `rowStep` and `columnStep` (-1, 0 or 1): to the next row or
// column whose channel is `present`, column 0 (the slot's own marker) always
// counting as present; at the edge it stays.
std::pair<int, int> StepMemoryCursor(std::pair<int, int> from, int rowStep, int columnStep,
                                     const std::array<bool, MemoryMapSize>& present);
