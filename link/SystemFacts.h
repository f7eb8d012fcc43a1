// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QStringList>

// What a report says of the system beyond Qt. One file per system implements
// these (SystemFactsLinux.cpp).

// The user running the program and its groups.
QString UserName();
QStringList UserGroups();

// Where the panels' udev rule is installed; empty when it is not.
QStringList InstalledUdevRules();

// The last lines the profile service wrote to the system's log, oldest first;
// one line saying why where the log cannot be read.
QStringList ServiceLog(int lines);
