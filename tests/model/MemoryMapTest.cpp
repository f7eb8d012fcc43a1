// SPDX-License-Identifier: Apache-2.0
#include "model/MemoryMap.h"

#include <gtest/gtest.h>

namespace {

// Column and row edges worked out by hand from the layout rules.
struct Expected {
    int width, height, headerWidth, headerHeight;
    std::vector<int> columnEdges; // left of column 1 .. right of column 16
    std::vector<int> rowEdges;    // top of row 1 .. bottom of row 16
    int markerWidth, markerHeight;
};

std::vector<int> Edges(int first, std::initializer_list<std::pair<int, int>> runs) {
    std::vector<int> edges{first};
    for (const auto& [count, size] : runs) {
        for (int i = 0; i < count; ++i) {
            edges.push_back(edges.back() + size);
        }
    }
    return edges;
}

TEST(MemoryMapLayout, EdgesFollowTheIntegerArithmetic) {
    const Expected cases[] = {
        // As laid out: header column 96 px (its last pixel goes to column 1), every
        // column 49 px ending at 880; rows 1..14 24 px, 15 and 16 25 px.
        {879, 417, 97, 31, Edges(96, {{16, 49}}), Edges(31, {{14, 24}, {2, 25}}), 15, 10},
        // Remainders on both axes: columns 11 px then 12 px, rows 5 px then 6 px.
        {200, 100, 20, 10, Edges(19, {{1, 12}, {10, 11}, {5, 12}}), Edges(10, {{6, 5}, {10, 6}}), 3,
         2},
    };
    for (const Expected& e : cases) {
        SCOPED_TRACE(e.width);
        const MemoryMapLayout layout =
            LayoutMemoryMap(e.width, e.height, e.headerWidth, e.headerHeight);
        EXPECT_EQ(layout.CellRects[0][0], (CellRect{0, 0, e.headerWidth - 1, e.headerHeight}));
        for (int c = 1; c <= 16; ++c) {
            EXPECT_EQ(layout.CellRects[5][c].Left, e.columnEdges[c - 1]) << "column " << c;
            EXPECT_EQ(layout.CellRects[5][c].Right, e.columnEdges[c]) << "column " << c;
            EXPECT_EQ(layout.CellRects[0][c].Left, layout.CellRects[16][c].Left);
        }
        for (int r = 1; r <= 16; ++r) {
            EXPECT_EQ(layout.CellRects[r][3].Top, e.rowEdges[r - 1]) << "row " << r;
            EXPECT_EQ(layout.CellRects[r][3].Bottom, e.rowEdges[r]) << "row " << r;
            EXPECT_EQ(layout.CellRects[r][0].Right, e.headerWidth - 1);
        }
        EXPECT_EQ(layout.CellRects[0][7].Bottom, e.headerHeight);
        EXPECT_EQ(layout.MarkerWidth, e.markerWidth);
        EXPECT_EQ(layout.MarkerHeight, e.markerHeight);
    }
}

TEST(MemoryMapLayout, HitTestOnEveryBoundaryPixel) {
    const MemoryMapLayout layout = LayoutMemoryMap(879, 417, 97, 31);
    using Hit = std::optional<std::pair<int, int>>;
    EXPECT_EQ(HitTestMemoryMap(layout, 10, 10), Hit{}) << "the header row is never hit";
    EXPECT_EQ(HitTestMemoryMap(layout, 500, 30), Hit{});
    EXPECT_EQ(HitTestMemoryMap(layout, 0, 31), (Hit{{1, 0}}));
    EXPECT_EQ(HitTestMemoryMap(layout, 95, 54), (Hit{{1, 0}}));
    EXPECT_EQ(HitTestMemoryMap(layout, 96, 54), (Hit{{1, 1}})) << "column 1 has the pixel";
    EXPECT_EQ(HitTestMemoryMap(layout, 96, 55), (Hit{{2, 1}}));
    EXPECT_EQ(HitTestMemoryMap(layout, 144, 100), (Hit{{3, 1}}));
    EXPECT_EQ(HitTestMemoryMap(layout, 145, 100), (Hit{{3, 2}}));
    EXPECT_EQ(HitTestMemoryMap(layout, 878, 416), (Hit{{16, 16}}));
    EXPECT_EQ(HitTestMemoryMap(layout, 879, 416), (Hit{{16, 16}})) << "the last column ends at 880";
    EXPECT_EQ(HitTestMemoryMap(layout, 880, 416), Hit{});
    EXPECT_EQ(HitTestMemoryMap(layout, 500, 417), Hit{});
    EXPECT_EQ(HitTestMemoryMap(layout, -1, 100), Hit{});
    // Every cell's own corners hit it, the pixel past each edge does not.
    for (int r = 1; r <= 16; ++r) {
        for (int c = 0; c <= 16; ++c) {
            const CellRect& cell = layout.CellRects[r][c];
            EXPECT_EQ(HitTestMemoryMap(layout, cell.Left, cell.Top), (Hit{{r, c}}));
            EXPECT_EQ(HitTestMemoryMap(layout, cell.Right - 1, cell.Bottom - 1), (Hit{{r, c}}));
            if (c < 16) {
                EXPECT_EQ(HitTestMemoryMap(layout, cell.Right, cell.Top), (Hit{{r, c + 1}}));
            }
        }
    }
}

TEST(MemoryMapCursor, ArrowsStepOverAbsentChannelsAndStopAtTheEdges) {
    std::array<bool, MemoryMapSize> eight{};
    std::array<bool, MemoryMapSize> all{};
    for (int channel = 1; channel < MemoryMapSize; ++channel) {
        all[std::size_t(channel)] = true;
        eight[std::size_t(channel)] = channel <= 8;
    }
    eight[5] = false;
    struct Case {
        std::pair<int, int> from;
        int rowStep, columnStep;
        const std::array<bool, MemoryMapSize>& present;
        std::pair<int, int> expected;
        const char* what;
    };
    const Case cases[] = {
        {{1, 0}, 0, 1, all, {1, 1}, "from the slot's marker to its first member"},
        {{1, 1}, 0, -1, all, {1, 0}, "back to the slot's marker"},
        {{1, 0}, 0, -1, all, {1, 0}, "the left edge"},
        {{16, 16}, 1, 1, all, {16, 16}, "the bottom right corner"},
        {{1, 16}, 0, 1, all, {1, 16}, "the right edge"},
        {{1, 0}, -1, 0, all, {1, 0}, "row 0 holds only headers"},
        {{4, 4}, 1, 0, eight, {6, 4}, "over the absent slot 5"},
        {{4, 4}, 0, 1, eight, {4, 6}, "over the absent channel 5"},
        {{8, 8}, 1, 0, eight, {8, 8}, "no slot beyond the eighth channel"},
        {{8, 8}, 0, 1, eight, {8, 8}, "no member beyond the eighth channel"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StepMemoryCursor(c.from, c.rowStep, c.columnStep, c.present), c.expected)
            << c.what;
    }
}

} // namespace
