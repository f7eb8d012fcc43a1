// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <cstdint>
#include <random>
#include <string>

// What the soak does in one step: a user's action in the windows or a fault of
// the cable, the panel or the driver library. `a` and `b` say where and which.
enum class SoakKind {
    ModeClick,    // a: 0 free, 1 fixed, 2 pulse; b: channel
    GroupChange,  // a: channel; b: group index
    DurationStep, // a: channel
    DurationCopy, // a: channel; b: 0 to all, 1 to the group
    ColourPick,   // a: state * 16 + channel - 1; b: palette slot, 10 = OFF
    Brightness,   // a: as ColourPick; b: brightness item
    ColourCopy,   // a: as ColourPick; b: one of the four copy items
    ToggleSave,   // restore on power-up
    ToggleLock,   // key lock installed
    KeyFunction,  // a: F1 or F2; b: item
    Undo,
    Redo,
    Revert,
    Compare,  // with the last saved file
    LoadFile, // a: which file (good, garbage, cut short, FIFO, folder, missing)
    LoadDefault,
    LoadFactory, // a: 1 answers Yes
    SaveFile,    // a: how (plain, full disk, read-only folder, FIFO)
    SaveDefault,
    GpioPress, // a: channel
    TestStartStop,
    CloseEditor,
    OpenPanel,    // a: list row
    LineFault,    // a: LineFault kind; b: steps it lasts
    Unplug,       // a: panel; b: steps until it is plugged in again
    LibraryError, // a: FTDI call; b: steps it lasts
    PanelKey,     // a: channel
    PanelGpi,     // a: channel
    Count
};

struct SoakStep {
    SoakKind kind;
    int a = 0;
    int b = 0;
};

const char* SoakKindName(SoakKind kind);
bool IsFault(SoakKind kind);

// The steps of a seed, one after another: the same seed gives the same steps.
class SoakPlan {
public:
    explicit SoakPlan(std::uint64_t seed) : random_(seed) {}
    SoakStep Next();

private:
    int Pick(int low, int high);
    std::mt19937_64 random_;
};
