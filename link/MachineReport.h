// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/BackEndChoice.h"
#include "link/PanelDiagnosis.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// When no panel is listed: one plain-text report to attach to a question, with
// what the program knows of the machine beside the panels. Nothing personal but
// the user's name and the serial numbers.
struct MachineFacts {
    QString program; // its name and version
    QString libraryVersions;
    QString backEnd; // the back-end chosen, and why
    QString user;
    QStringList groups;
    QStringList udevRules; // where the panels' rule is installed; none: not installed
    std::vector<std::pair<QString, QString>> nodeAccess; // a chip's node, who may use it
    LibraryDevices library;
    std::vector<AttachedChip> chips;
    QStringList recentMessages; // this run's own last messages
    QStringList serviceLog;     // the profile service's last lines in the system's log
};

// The facts of this machine now: the devices as the installed back-end lists
// them, and the chips as FindAttachedChips finds them with these sources.
MachineFacts ReadMachineFacts(const QString& program, const QString& backEnd,
                              const QString& sysfsRoot = "/sys/bus/usb/devices",
                              const QString& deviceRoot = "/dev/bus/usb",
                              const std::function<bool(const QString& node)>& canOpen = {});

QString MachineReport(const MachineFacts& facts);

// Who may use a device node: "root:plugdev rw-rw----".
QString DeviceNodeAccess(const QString& node);

// The back-end in words, and why it is the one: `asked` on the command line,
// `chosen` the one installed (none: installed by the caller), with why FTDI's
// library was passed over where it was tried.
QString BackEndWords(BackEnd asked, std::optional<BackEnd> chosen,
                     const std::string& d2xxNotLoaded);
