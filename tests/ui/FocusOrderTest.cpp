// SPDX-License-Identifier: Apache-2.0
#include "ui/FocusOrder.h"

#include <gtest/gtest.h>

namespace {

TEST(FocusOrder, RowsFromTopToBottomEachFromLeftToRight) {
    struct Case {
        std::vector<QRect> places;
        std::vector<int> expected;
        const char* what;
    };
    const Case cases[] = {
        {{}, {}, "nothing"},
        {{{100, 0, 40, 20}, {0, 0, 40, 20}, {50, 0, 40, 20}}, {1, 2, 0}, "one row"},
        {{{0, 50, 40, 20}, {0, 0, 40, 20}}, {1, 0}, "one column"},
        {{{0, 5, 80, 35}, {100, 9, 36, 31}, {150, 9, 36, 31}, {100, 46, 36, 31}, {0, 42, 80, 35}},
         {0, 1, 2, 4, 3},
         "a legend button a few pixels higher than its row"},
        {{{50, 0, 40, 20}, {0, 15, 40, 20}}, {0, 1}, "the middle below the first: the next row"},
        {{{0, 0, 40, 100}, {50, 10, 40, 20}, {50, 60, 40, 20}},
         {0, 1, 2},
         "a tall control takes what lies beside it into its row"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadingOrder(c.places), c.expected) << c.what;
    }
}

TEST(FocusOrder, TabGoesRoundTheEndAndStartsAtAnEndFromOutside) {
    struct Case {
        int current;
        int count;
        bool next;
        int expected;
    };
    const Case cases[] = {
        {0, 5, true, 1},  {4, 5, true, 0},   {0, 5, false, 4}, {3, 5, false, 2},
        {-1, 5, true, 0}, {-1, 5, false, 4}, {7, 5, true, 0},  {0, 1, true, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NextInTabOrder(c.current, c.count, c.next), c.expected)
            << c.current << " of " << c.count << (c.next ? " Tab" : " Shift+Tab");
    }
}

} // namespace
