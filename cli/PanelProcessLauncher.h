// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

#include <functional>
#include <string>
#include <vector>

#include <sys/types.h>

// `--all` gives every panel a process of its own. Loading the tool afresh for
// each costs more than a panel's whole import on a rack, so a copy of the tool
// taken at its start, while it is still one thread and has touched no panel,
// stays behind as a launcher. It does once what every panel's process would do
// first, and forks the panels' processes from that state when asked. They are
// the launcher's children, so the tool asks the launcher how each ended.

// What a panel's process runs: the tool's main on these arguments (without the
// program name); its result is the process's exit code.
using PanelProcessMain = std::function<int(const std::vector<std::string>& arguments)>;

// What every panel's process would do first, done once in the launcher before
// it forks any; the processes inherit what it leaves. It must start no thread:
// a fork keeps only the thread that calls it.
using PanelProcessPreparation = std::function<void()>;

// Call before anything else in the tool's main, once its signal handlers are
// set. False when no launcher could be started; the tool then works one panel
// after another.
bool StartPanelProcessLauncher(const PanelProcessPreparation& prepare, PanelProcessMain panelMain);
// Ends the launcher and waits for it, once the panels' processes have ended.
void StopPanelProcessLauncher();

// A process of the tool to start on `arguments`, with `output` and `errors` as
// its standard output and error; `error` tells why it could not be started.
struct PanelProcessRequest {
    std::vector<std::string> arguments;
    int output = -1;
    int errors = -1;
    QString error;
};

// Processes running the panel main, one per request, with the request's
// `output` and `errors` as standard output and error; per request its pid, or
// -1 with the reason in the request's `error`.
std::vector<pid_t> LaunchPanelProcesses(std::vector<PanelProcessRequest>& requests);
// Waits for a launched process to end; how it ended, as waitpid gives it (an
// exit code of 0 when the launcher cannot tell).
int WaitForPanelProcess(pid_t panel);

// Whether the arguments ask for `--all` (an option before any "--").
bool AsksForAllPanels(const std::vector<std::string>& arguments);
