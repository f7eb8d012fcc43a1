// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "cli/CliArguments.h"
#include "sim/VirtualBus.h"

#include <QString>
#include <QTextStream>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// What only the tool's own process brings.
struct CliProcess {
    // The back-end this process chose. With one, `--all` works on the panels side
    // by side, each in a process of its own on the same back-end; without one,
    // one after another in this process.
    std::optional<BackEnd> backEnd;
    int virtualPanels = DefaultVirtualPanelCount;
    // Why FTDI's library was passed over, where it was tried.
    std::string d2xxNotLoaded;
    // Standard input, whole, where a panel's process of `--all` finds its task.
    std::function<QByteArray()> readInput;
};

// Where a command prints and what may end it early.
struct CliContext {
    const CliInvocation& invocation;
    QTextStream& out;
    QTextStream& err;
    // Ends `status --watch` and leaves the panels of `--all` not yet begun.
    const std::atomic<bool>& interrupted;
    // Nobody reads `out` any more, which also ends a watch.
    std::function<bool()> outputClosed;
    const CliProcess& process;
};

// A failure that ends the whole command with one exit code and one message.
class CliFailure : public std::runtime_error {
public:
    CliFailure(int code, const QString& message)
        : std::runtime_error(message.toStdString()), code_(code) {}
    int Code() const { return code_; }

private:
    int code_;
};

// The command the invocation names, run to its exit code. Throws BadCommandLine
// and CliFailure.
int RunCliCommand(CliContext& context);
