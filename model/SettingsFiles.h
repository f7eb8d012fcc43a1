// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/DeviceBlocks.h"
#include "model/RegularFile.h"

#include <QString>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A panel's configuration outside the panel: `.gpi` settings files and the
// user's default values in the program settings file. Every failure to read or
// write throws std::runtime_error with a text that names the file and the reason;
// nothing is changed then, neither the block nor the file. Only regular files are
// read and written (see RegularFile.h).

// The 404 bytes as 808 upper-case hexadecimal digits.
std::string EncodeDefaultData(const ConfigBlock& block);
// 808 or 809 characters of hexadecimal digits (either case) give a block;
// anything else gives nothing.
std::optional<ConfigBlock> DecodeDefaultData(const std::string& text);

// `DEFAULT` / `DATA` of the program settings file; a missing or damaged value is
// replaced by the factory configuration, which is stored as the new default.
void LoadDefaultValues(ConfigBlock& block, const QString& programSettingsFile);
void SaveDefaultValues(const ConfigBlock& block, const QString& programSettingsFile);

// The block a `.gpi` file describes: the factory configuration with every key
// found put in (an integer as its low 8 bits, without range checks). With
// `mustHoldSettings`, a file without any of the format's keys (a text file of
// something else) is refused instead of read as the factory configuration.
ConfigBlock ReadSettingsFile(const std::filesystem::path& path, bool mustHoldSettings = false);
// The same, with the keys whose integers a panel's byte cannot hold (below 0 or
// above 255) as the file holds them, by the block byte they stand for.
struct SettingsFileContent {
    ConfigBlock block{};
    std::map<std::size_t, long long> outOfRange;
};
SettingsFileContent ReadSettingsFileContent(const std::filesystem::path& path,
                                            bool mustHoldSettings = false);
// The name of a block byte as the settings file calls it: "COMMON SAVE",
// "GPIO5 MODE", "GPIO3 COLOR1_R"; the channel number bytes are "GPIOn CHANNEL".
std::string ConfigFieldName(std::size_t offset);

// A byte two configuration blocks hold differently, named as the settings file
// names it.
struct FieldDifference {
    std::string field;
    int first = 0;
    int second = 0;
};
std::vector<FieldDifference> ConfigDifferences(const ConfigBlock& first, const ConfigBlock& second);

// Writes the block into the file: an existing file keeps its other content, its
// order and its line ending; a new one gets the sections and keys in the
// format's order and CRLF line ends.
void WriteSettingsFile(const std::filesystem::path& path, const ConfigBlock& block);
