// SPDX-License-Identifier: Apache-2.0
#include "model/SettingsFiles.h"

#include "model/IniFile.h"
#include "model/RegularFile.h"

#include <QCoreApplication>

#include <stdexcept>

namespace {

const char* const DefaultSection = "DEFAULT";
const char* const DataKey = "DATA";
const char* const ColourKeys[4] = {"_R", "_G", "_B", "_I"};
// Record bytes of a colour's red, green, blue and intensity, relative to its field.
constexpr std::size_t ColourBytes[4] = {ColourRed, ColourGreen, ColourBlue, ColourIntensity};

// Every key of the format with the block byte it stands for, in the format's order.
template <typename Visit>
void ForEachKey(Visit visit) {
    visit(std::string("COMMON"), std::string("SAVE"), ConfigSAVE);
    visit(std::string("COMMON"), std::string("LOCK"), ConfigLOCK);
    visit(std::string("COMMON"), std::string("MODE17"), ConfigMODE17);
    visit(std::string("COMMON"), std::string("MODE18"), ConfigMODE18);
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        const std::string section = "GPIO" + std::to_string(channel);
        const std::size_t record = RecordOffset(channel);
        visit(section, std::string("GROUP"), record + RecordGROUP);
        visit(section, std::string("MODE"), record + RecordMODE);
        visit(section, std::string("DURATION"), record + RecordDURATION);
        for (int state = 0; state < 4; ++state) {
            for (int component = 0; component < 4; ++component) {
                visit(section, "COLOR" + std::to_string(state) + ColourKeys[component],
                      ColourOffset(channel, state) + ColourBytes[component]);
            }
        }
        for (int k = 0; k < 4; ++k) {
            visit(section, "MEM" + std::to_string(k), MemoryByteOffset(channel, k));
        }
        visit(section, std::string("ISMEM"), record + RecordISMEM);
    }
}

// A `.gpi` file, read once: refused when it cannot be read, is too large, or is
// no text (a settings file holds no control characters but tabs and line ends).
IniFile OpenSettingsFile(const std::filesystem::path& path) {
    QString error;
    const std::optional<std::string> text = IniFile::ReadFileText(path, error);
    if (!text) {
        throw std::runtime_error(error.toStdString());
    }
    for (const char byte : *text) {
        const auto value = static_cast<unsigned char>(byte);
        if (value < 0x20 && value != '\t' && value != '\r' && value != '\n') {
            throw FileError(QCoreApplication::translate(
                                "SettingsFiles", "%1 is not a settings file: it holds binary data.")
                                .arg(DisplayName(path))
                                .toStdString());
        }
    }
    // The format's line ending on the panel's home platform, for a new file.
    return IniFile::FromText(*text, path, "\r\n");
}

IniFile OpenChecked(const QString& path, const char* newFileLineEnding) {
    IniFile ini(path, newFileLineEnding);
    if (!ini.LoadError().isEmpty()) {
        throw std::runtime_error(ini.LoadError().toStdString());
    }
    return ini;
}

} // namespace

std::string EncodeDefaultData(const ConfigBlock& block) {
    static const char* const Digits = "0123456789ABCDEF";
    std::string text;
    text.reserve(2 * block.size());
    for (const std::uint8_t byte : block) {
        text += Digits[byte >> 4];
        text += Digits[byte & 0x0F];
    }
    return text;
}

std::optional<ConfigBlock> DecodeDefaultData(const std::string& text) {
    // An odd last digit (809 characters) is no byte of its own and is ignored.
    if (text.size() != 2 * ConfigBlockSize && text.size() != 2 * ConfigBlockSize + 1) {
        return std::nullopt;
    }
    ConfigBlock block{};
    for (std::size_t i = 0; i < ConfigBlockSize; ++i) {
        const int high = HexDigitValue(text[2 * i]);
        const int low = HexDigitValue(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        block[i] = std::uint8_t(high * 16 + low);
    }
    return block;
}

void LoadDefaultValues(ConfigBlock& block, const QString& programSettingsFile) {
    const IniFile ini = OpenChecked(programSettingsFile, "\n");
    const auto decoded = DecodeDefaultData(ini.ReadString(DefaultSection, DataKey, std::string()));
    if (decoded) {
        block = *decoded;
        return;
    }
    ConfigBlock factory;
    LoadFactoryValues(factory);
    SaveDefaultValues(factory, programSettingsFile);
    block = factory;
}

void SaveDefaultValues(const ConfigBlock& block, const QString& programSettingsFile) {
    IniFile ini = OpenChecked(programSettingsFile, "\n");
    ini.WriteString(DefaultSection, DataKey, EncodeDefaultData(block));
    ini.UpdateFile();
}

std::string ConfigFieldName(std::size_t offset) {
    std::string name;
    ForEachKey([&](const std::string& section, const std::string& key, std::size_t byte) {
        if (byte == offset) {
            name = section + " " + key;
        }
    });
    if (name.empty() && offset < ConfigBlockSize) {
        name = "GPIO" + std::to_string(offset / ChannelRecordSize + 1) + " CHANNEL";
    }
    return name;
}

SettingsFileContent ReadSettingsFileContent(const std::filesystem::path& path,
                                            bool mustHoldSettings) {
    if (!ResolveRegularFile(path, "read").exists) {
        throw FileError(QCoreApplication::translate("RegularFile", "Cannot read file %1: %2")
                            .arg(DisplayName(path), QCoreApplication::translate(
                                                        "RegularFile", "the file does not exist"))
                            .toStdString());
    }
    const IniFile ini = OpenSettingsFile(path);
    SettingsFileContent content;
    ConfigBlock& block = content.block;
    LoadFactoryValues(block);
    // No file holds this: binary data is refused above.
    const std::string absent(1, '\x01');
    bool holdsSettings = false;
    ForEachKey([&](const std::string& section, const std::string& key, std::size_t offset) {
        const long long value = ini.ReadInteger(section, key, block[offset]);
        block[offset] = std::uint8_t(value & 0xFF);
        if (value < 0 || value > 255) {
            content.outOfRange[offset] = value;
        }
        holdsSettings =
            holdsSettings || (mustHoldSettings && ini.ReadString(section, key, absent) != absent);
    });
    if (mustHoldSettings && !holdsSettings) {
        throw FileError(
            QCoreApplication::translate("SettingsFiles",
                                        "%1 is not a settings file: it holds none of its keys.")
                .arg(DisplayName(path))
                .toStdString());
    }
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        block[RecordOffset(channel) + RecordCHANNEL] = std::uint8_t(channel);
    }
    return content;
}

ConfigBlock ReadSettingsFile(const std::filesystem::path& path, bool mustHoldSettings) {
    return ReadSettingsFileContent(path, mustHoldSettings).block;
}

void WriteSettingsFile(const std::filesystem::path& path, const ConfigBlock& block) {
    IniFile ini = OpenSettingsFile(path);
    ForEachKey([&](const std::string& section, const std::string& key, std::size_t offset) {
        ini.WriteInteger(section, key, block[offset]);
    });
    ini.UpdateFile();
}

std::vector<FieldDifference> ConfigDifferences(const ConfigBlock& first,
                                               const ConfigBlock& second) {
    std::vector<FieldDifference> differences;
    for (std::size_t i = 0; i < ConfigBlockSize; ++i) {
        if (first[i] != second[i]) {
            differences.push_back({ConfigFieldName(i), first[i], second[i]});
        }
    }
    return differences;
}
