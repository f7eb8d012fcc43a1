// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/BackEndChoice.h"
#include "sim/VirtualBus.h"

#include <QStringList>
#include <QTextStream>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

// The command-line tool: lists panels, shows a panel's configuration and live
// state, exports and imports `.gpi` files, restores the factory settings and
// drives the GPIO outputs, on one panel or on every attached one.

enum CliExitCode {
    CliDone = 0,
    CliNoPanel = 1,
    CliUsageError = 2,
    CliLinkFailure = 3,
    CliVerifyDifferences = 4,
    CliFileError = 5,
};

// `arguments` without the program name, as the system gave them (file names are
// bytes, not necessarily UTF-8). The FTDI back-end must be chosen before (see
// ChooseCliBackEnd); `--driver` and `--simulate` are accepted here and left to
// that choice. `interrupted` ends `status --watch` and leaves the panels of
// `--all` not yet begun; `outputClosed` tells that nobody reads `out` any more,
// which also ends a watch. With `panelsApart`, `--all` works on the panels
// side by side, each in a process from the launcher the tool started (see
// PanelProcessLauncher.h); without it one after another in this process.
int RunCli(const std::vector<std::string>& arguments, QTextStream& out, QTextStream& err,
           const std::atomic<bool>& interrupted, const std::function<bool()>& outputClosed,
           bool panelsApart = false);
// The same for arguments that are valid text.
int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err,
           const std::atomic<bool>& interrupted);

// Under --json a failure before any panel is reached, as one JSON document.
QString CliFailureDocument(const QString& command, int code, const QString& message);

// Installs the back-end the arguments chose (see ParseCliArguments), the
// virtual panels included (`virtualPanels` of them). Throws NoBackEnd.
void ChooseCliBackEnd(BackEnd choice, int virtualPanels = DefaultVirtualPanelCount);
