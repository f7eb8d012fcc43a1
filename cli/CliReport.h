// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/DeviceBlocks.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <cstdint>
#include <vector>

// How the command-line tool shows panels, configurations and live states, as
// text for people and as JSON for scripts.

// The tool's own messages in the translations. They follow the locale, but not
// under --json, whose words scripts read.
class ToolTexts {
    Q_DECLARE_TR_FUNCTIONS(ToolTexts)
};

// A panel that Ctrl+C kept from being begun.
QString NotDoneText();

// A usable panel as the tool reports it.
struct CliPanel {
    std::uint32_t location = 0;
    QString serial;
    QString description;
    QString mask;
    std::vector<int> channels; // the channels its mask says are present
};

// What one panel of a panel-by-panel command came to.
struct PanelResult {
    CliPanel panel;
    int code = 0;
    QString message;
    QStringList differences;
};

// Runs of channels: "1-16", "1-8", "1 3 5"; "none" for none.
QString ChannelList(const std::vector<int>& channels);
// Upper-case hexadecimal, zero-padded to `digits`.
QString Hex(std::uint32_t value, int digits);

QJsonObject PanelJson(const CliPanel& panel);
QJsonObject LiveJson(const StatusBlock& status, const std::vector<int>& present);
QJsonObject ConfigurationJson(const ConfigBlock& block, const std::vector<int>& present);
void PrintLive(QTextStream& out, const StatusBlock& status, const std::vector<int>& present);
void PrintConfiguration(QTextStream& out, const ConfigBlock& block,
                        const std::vector<int>& present);

// Each field that differs, named with both values: "GPIO3 DURATION (sent 3, read back 20)".
QStringList Differences(const ConfigBlock& sent, const ConfigBlock& readBack);
// The same as Compare with File words it: "GPIO3 DURATION: panel 12, file 5".
QStringList ComparedWithFile(const ConfigBlock& panel, const ConfigBlock& file);
