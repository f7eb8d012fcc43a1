// SPDX-License-Identifier: Apache-2.0
#include "editor/EditorModes.h"

namespace {

using enum EditorInput;
using enum Verdict;

class ModeTexts {
    Q_DECLARE_TR_FUNCTIONS(EditorModes)

public:
    static QString Why(EditorMode mode) {
        switch (mode) {
        case EditorMode::Offline:
            return tr("No panel is open");
        case EditorMode::Reading:
            return tr("The panel's configuration is being read");
        case EditorMode::Testing:
            return tr("Not while the panel test runs");
        case EditorMode::Closing:
            return tr("The editor is closing");
        case EditorMode::Editing:
            break;
        }
        return {};
    }
    static QString NoTest() { return tr("No panel test runs"); }
    static QString ClosingWaits() {
        return tr("The editor closes once the panel has what was sent");
    }
};

// The inputs each mode takes; every other input is refused for the mode's reason.
bool TakenWhileTesting(EditorInput input) {
    switch (input) {
    case Edit:
    case GpioPress:
    case GpioRelease:
    case GpioOff:
    case MemoryToggle:
    case StopTest:
    case Close:
        return true;
    default:
        return false;
    }
}

} // namespace

InputAnswer ModeRule(EditorMode mode, EditorInput input) {
    switch (mode) {
    case EditorMode::Offline:
    case EditorMode::Reading:
        if (input == Close) {
            return {Accepted, {}};
        }
        return {Refused, ModeTexts::Why(mode)};
    case EditorMode::Editing:
        if (input == StopTest) {
            return {Refused, ModeTexts::NoTest()};
        }
        return {Accepted, {}};
    case EditorMode::Testing:
        if (TakenWhileTesting(input)) {
            return {Accepted, {}};
        }
        return {Refused, ModeTexts::Why(mode)};
    case EditorMode::Closing:
        // A held output is still let go, the configuration from before an ended
        // test still restored; a second close waits for the first.
        if (input == GpioRelease || input == RestoreBeforeTest) {
            return {Accepted, {}};
        }
        if (input == Close) {
            return {Deferred, ModeTexts::ClosingWaits()};
        }
        return {Refused, ModeTexts::Why(mode)};
    }
    return {Refused, {}};
}

const char* ModeName(EditorMode mode) {
    constexpr const char* names[] = {"offline", "reading", "editing", "testing", "closing"};
    return names[int(mode)];
}

const char* InputName(EditorInput input) {
    constexpr const char* names[] = {"edit",
                                     "undo",
                                     "redo",
                                     "revert",
                                     "load file",
                                     "load default",
                                     "load factory",
                                     "save file",
                                     "save default",
                                     "compare",
                                     "GPIO press",
                                     "GPIO release",
                                     "GPIO off",
                                     "memory toggle",
                                     "start test",
                                     "stop test",
                                     "restore before test",
                                     "close"};
    return names[int(input)];
}
