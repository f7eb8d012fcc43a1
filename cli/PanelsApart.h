// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "cli/CliReport.h"

#include <atomic>
#include <string>
#include <vector>

// `--all` on many panels side by side. The port module keeps one open port per
// process, so each panel gets a process of its own from the tool's launcher
// (see PanelProcessLauncher.h): the tool with `--panel SERIAL --json` in place
// of `--all`, all panels at once, and one result collected per panel in the
// order of `panels`.
//
// Ctrl+C reaches every process: a panel whose work has begun is finished (a
// configuration is never left half-written), one not yet begun is left as it is
// and reported "not done: interrupted".
std::vector<PanelResult> RunPanelsApart(const std::vector<std::string>& arguments,
                                        const std::vector<CliPanel>& panels,
                                        const std::atomic<bool>& interrupted);

// The arguments of the process for one panel: `arguments` without `--all` and
// without any `--panel`, after `--panel SERIAL --json`. Operands after "--" stay.
std::vector<std::string> OnePanelArguments(const std::vector<std::string>& arguments,
                                           const QString& serial);

// One panel's result from what its process printed (the tool's JSON document)
// and how it ended: `exitStatus` as waitpid gives it.
PanelResult ResultOfPanelProcess(const CliPanel& panel, const QByteArray& output,
                                 const QByteArray& errors, int exitStatus);
