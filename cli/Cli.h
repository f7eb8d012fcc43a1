// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "cli/CliCommands.h"
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
    // The system refused what the tool needs to run (a thread).
    CliSystemRefused = 6,
};

// `arguments` without the program name, as the system gave them (file names are
// bytes, not necessarily UTF-8). The FTDI back-end must be chosen before (see
// ChooseCliBackEnd); `--driver` and `--simulate` are accepted here and left to
// that choice. `interrupted` ends `status --watch` and leaves the panels of
// `--all` not yet begun; `outputClosed` tells that nobody reads `out` any more,
// which also ends a watch. `process` is what the tool's own process brings (see
// CliProcess); without it `--all` works on one panel after another here.
int RunCli(const std::vector<std::string>& arguments, QTextStream& out, QTextStream& err,
           const std::atomic<bool>& interrupted, const std::function<bool()>& outputClosed,
           const CliProcess& process = {});
// The same for arguments that are valid text.
int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err,
           const std::atomic<bool>& interrupted);

// Under --json a failure before any panel is reached, as one JSON document.
QString CliFailureDocument(const QString& command, int code, const QString& message);

// Installs the back-end the arguments chose (see ParseCliArguments), the
// virtual panels included (`virtualPanels` of them), and tells which it is.
// Throws NoBackEnd.
InstalledBackEnd ChooseCliBackEnd(BackEnd choice, int virtualPanels = DefaultVirtualPanelCount);
