// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "cli/CliReport.h"
#include "model/DeviceBlocks.h"

#include <QByteArray>
#include <QString>

#include <stdexcept>

// What `--all` asks of a panel. The tool reads and checks a settings file once,
// and every panel gets that very block; `apply` gives each panel its profile's.
struct PanelTask {
    enum class Kind { SendConfiguration, GpioOff, ApplyProfile };
    Kind kind = Kind::GpioOff;
    ConfigBlock block{};
    bool verify = false;
    // ApplyProfile: only say what would change.
    bool dryRun = false;
};

// What a panel's process of `--all` is handed on its standard input: the
// command's name for its report, the panel as the tool listed it and the task.
struct PanelHandOver {
    QString command;
    CliPanel panel;
    PanelTask task;
};

// A hand-over that is cut short or not the tool's own.
class BadHandOver : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The most a hand-over takes; a panel's process reads no further.
inline constexpr qsizetype MostHandOverBytes = 64 * 1024;

QByteArray HandOverBytes(const PanelHandOver& handOver);
// Throws BadHandOver.
PanelHandOver ParseHandOver(const QByteArray& bytes);
