// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "link/PanelDiagnosis.h"

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

// When no panel is listed: one plain-text report to attach to a question, with
// what the tool knows of the machine beside the panels. Nothing personal but the
// user's name and the serial numbers.
struct MachineFacts {
    QString programVersion;
    QString libraryVersions;
    QString backEnd; // the back-end chosen, and why
    QString user;
    QStringList groups;
    QStringList udevRules; // where the panels' rule is installed; none: not installed
    std::vector<std::pair<QString, QString>> nodeAccess; // a chip's node, who may use it
};

QString ToolDiagnosisReport(const MachineFacts& facts, const LibraryDevices& library,
                            const std::vector<AttachedChip>& chips);

// Who may use a device node: "root:plugdev rw-rw----".
QString DeviceNodeAccess(const QString& node);
