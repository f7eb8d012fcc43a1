// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "cli/CliArguments.h"

#include <QString>
#include <QTextStream>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

// Where a command prints and what may end it early.
struct CliContext {
    const CliInvocation& invocation;
    QTextStream& out;
    QTextStream& err;
    // Ends `status --watch` and leaves the panels of `--all` not yet begun.
    const std::atomic<bool>& interrupted;
    // Nobody reads `out` any more, which also ends a watch.
    std::function<bool()> outputClosed;
    // Whether `--all` works on the panels side by side, each in a process from
    // the tool's launcher; otherwise one after another here.
    bool panelsApart = false;
    std::vector<std::string> arguments;
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
