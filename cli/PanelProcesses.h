// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "cli/CliReport.h"
#include "cli/PanelHandOver.h"

#include <QStringList>

#include <atomic>
#include <vector>

// `--all` on many panels side by side. The port module keeps one open port per
// process, so each panel gets a process of its own: the tool itself, started on
// the back-end this one chose (`backEndArguments`) with the internal option
// `--panel-process`, and handed its panel and its task (`tasks`, one per panel)
// on its standard input.
// Nothing is read, parsed or listed again there. One result per panel, in the
// order of `panels`.
//
// Ctrl+C reaches every process: a panel whose work has begun is finished (a
// configuration is never left half-written), one not yet begun is left as it is
// and reported "not done: interrupted". The processes end with the tool, however
// it ends, and each has been waited for when this returns.
std::vector<PanelResult> RunPanelsApart(const QString& command, const std::vector<PanelTask>& tasks,
                                        const std::vector<CliPanel>& panels,
                                        const QStringList& backEndArguments,
                                        const std::atomic<bool>& interrupted);

// The internal option that makes the tool a panel's process of `--all`.
inline constexpr const char* PanelProcessOption = "panel-process";

// One panel's result from what its process printed (the tool's JSON document)
// and how it ended: its exit code, or with `crashed` the signal that ended it.
PanelResult ResultOfPanelProcess(const CliPanel& panel, const QByteArray& output,
                                 const QByteArray& errors, bool crashed, int exitCode);

// The tool's last moments, when it can wait no longer: every panel's process
// still running is ended at once and waited for.
void EndPanelProcessesNow();
