// SPDX-License-Identifier: Apache-2.0
#include "tests/soak/SoakPlan.h"

#include <array>
#include <numeric>

namespace {

struct KindInfo {
    const char* name;
    int weight; // how often, against the others
};

// Mostly editing, as a user does; faults often enough that every kind shows up
// many times in a minute.
constexpr std::array<KindInfo, std::size_t(SoakKind::Count)> Kinds = {{
    {"mode click", 12},
    {"group change", 6},
    {"duration step", 8},
    {"duration copy", 2},
    {"colour pick", 8},
    {"brightness", 5},
    {"colour copy", 3},
    {"restore on power-up", 2},
    {"key lock", 2},
    {"F1/F2 function", 3},
    {"undo", 5},
    {"redo", 3},
    {"revert", 1},
    {"compare", 1},
    {"load file", 3},
    {"load default values", 1},
    {"load factory settings", 1},
    {"save file", 3},
    {"save as default", 1},
    {"GPIO press", 4},
    {"panel test", 1},
    {"close editor", 2},
    {"open panel", 6},
    {"line fault", 2},
    {"unplug", 1},
    {"library error", 1},
    {"panel key", 2},
    {"panel GPI", 2},
}};

} // namespace

const char* SoakKindName(SoakKind kind) {
    return Kinds[std::size_t(kind)].name;
}

bool IsFault(SoakKind kind) {
    return kind >= SoakKind::LineFault;
}

int SoakPlan::Pick(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random_);
}

SoakStep SoakPlan::Next() {
    static const int total = std::accumulate(
        Kinds.begin(), Kinds.end(), 0, [](int sum, const KindInfo& k) { return sum + k.weight; });
    int roll = Pick(0, total - 1);
    std::size_t index = 0;
    while (roll >= Kinds[index].weight) {
        roll -= Kinds[index].weight;
        ++index;
    }
    // Both parameters are drawn for every step, so that a step's parameters never
    // depend on the kinds before it.
    SoakStep step{SoakKind(index), Pick(0, 1 << 16), Pick(0, 1 << 16)};
    return step;
}
