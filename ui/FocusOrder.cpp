// SPDX-License-Identifier: Apache-2.0
#include "ui/FocusOrder.h"

#include <algorithm>
#include <numeric>

std::vector<int> ReadingOrder(const std::vector<QRect>& places) {
    std::vector<int> byTop(places.size());
    std::iota(byTop.begin(), byTop.end(), 0);
    std::stable_sort(byTop.begin(), byTop.end(),
                     [&](int a, int b) { return places[a].top() < places[b].top(); });
    std::vector<int> order;
    order.reserve(places.size());
    std::size_t rowStart = 0;
    while (rowStart < byTop.size()) {
        const QRect& first = places[byTop[rowStart]];
        std::size_t rowEnd = rowStart + 1;
        while (rowEnd < byTop.size() && places[byTop[rowEnd]].center().y() <= first.bottom()) {
            ++rowEnd;
        }
        std::vector<int> row(byTop.begin() + long(rowStart), byTop.begin() + long(rowEnd));
        std::stable_sort(row.begin(), row.end(),
                         [&](int a, int b) { return places[a].left() < places[b].left(); });
        order.insert(order.end(), row.begin(), row.end());
        rowStart = rowEnd;
    }
    return order;
}

int NextInTabOrder(int current, int count, bool next) {
    if (current < 0 || current >= count) {
        return next ? 0 : count - 1;
    }
    return ((next ? current + 1 : current - 1) % count + count) % count;
}
