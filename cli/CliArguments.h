// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/BackEndChoice.h"
#include "sim/VirtualBus.h"

#include <QString>
#include <QStringList>

#include <stdexcept>
#include <string>
#include <vector>

// A command line the tool cannot carry out as written (exit code 2).
class BadCommandLine : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the command line asks for.
struct CliInvocation {
    QString command;
    QStringList operands;
    // The operands as the system gave them: file names need not be valid UTF-8.
    std::vector<std::string> operandBytes;
    QString panel;
    bool all = false;
    bool json = false;
    bool verify = false;
    bool watch = false;
    bool help = false;
    bool version = false;
    // apply: the profile folder given, and whether only to say what would change.
    QString profiles;
    bool dryRun = false;
    // --diagnose, and the file its report goes to (standard output without one).
    bool diagnose = false;
    QString report;
    std::string reportBytes;
    // The tool as one panel's process of `--all` (an internal option).
    bool panelProcess = false;
    BackEnd backEnd = BackEnd::Automatic;
    // How many virtual panels `--simulate=N` attaches (two with `--simulate`).
    int virtualPanels = DefaultVirtualPanelCount;
};

// `arguments` without the program name, as the system gave them. Throws
// BadCommandLine for an unknown option, a missing value or an unknown driver.
CliInvocation ParseCliArguments(const std::vector<std::string>& arguments);

QString CliUsageText();
