// SPDX-License-Identifier: Apache-2.0
#include "model/IniFile.h"

#include "model/RegularFile.h"

#include <QCoreApplication>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <stdexcept>
#include <string_view>

namespace {

// Blanks, tabs and carriage returns around names and values are not part of them.
std::string Trim(const std::string& text) {
    const char* const blanks = " \t\r";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return std::string();
    }
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

const std::string ByteOrderMark = "\xEF\xBB\xBF";

// A value with blanks at either end is written in double quotes, and so is one
// that is quoted itself, so that every value reads back as it was written.
bool NeedsQuotes(const std::string& value) {
    return Trim(value) != value ||
           (value.size() >= 2 && value.front() == '"' && value.back() == '"');
}

std::string Unquoted(const std::string& value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

} // namespace

std::optional<long long> ParseInteger(const std::string& text) {
    const std::string trimmed = Trim(text);
    const char* begin = trimmed.data();
    const char* end = begin + trimmed.size();
    // One optional sign, then digits: "+-3" is no number.
    if (begin != end && *begin == '+' && end - begin > 1 && begin[1] != '-') {
        ++begin;
    }
    long long value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end || begin == end) {
        return std::nullopt;
    }
    return value;
}

IniFile::IniFile(const QString& path, std::string newFileLineEnding)
    : IniFile(FilePath(path), std::move(newFileLineEnding)) {}

IniFile::IniFile(std::filesystem::path path, std::string newFileLineEnding)
    : path_(std::move(path)), lineEnding_(std::move(newFileLineEnding)) {
    // No path: a text parsed by FromText.
    Parse(path_.empty() ? std::string() : ReadFileText(path_, loadError_).value_or(std::string()));
}

std::optional<std::string> IniFile::ReadFileText(const std::filesystem::path& path,
                                                 QString& error) {
    try {
        return ReadRegularFile(path, MaximumFileSize).value_or(std::string());
    } catch (const FileTooLarge&) {
        error = QCoreApplication::translate(
                    "IniFile", "%1 is larger than 1 MiB and is no settings file of this program")
                    .arg(DisplayName(path));
    } catch (const FileError& failure) {
        error = QString::fromStdString(failure.what());
    }
    return std::nullopt;
}

IniFile IniFile::FromText(const std::string& text, std::filesystem::path path,
                          std::string newFileLineEnding) {
    IniFile ini(std::filesystem::path(), std::move(newFileLineEnding));
    ini.path_ = std::move(path);
    ini.sections_.clear();
    ini.Parse(text);
    return ini;
}

void IniFile::Parse(const std::string& content) {
    std::string_view text(content);
    if (text.substr(0, ByteOrderMark.size()) == ByteOrderMark) {
        byteOrderMark_ = true;
        text.remove_prefix(ByteOrderMark.size());
    }
    sections_.push_back(Section{});
    bool endingKnown = false;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find_first_of("\r\n", start);
        std::size_t next = text.size();
        if (end == std::string_view::npos) {
            end = text.size();
        } else {
            const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
            next = end + (crlf ? 2 : 1);
            if (!endingKnown) {
                lineEnding_ = std::string(text.substr(end, next - end));
                endingKnown = true;
            }
        }
        std::string line(text.substr(start, end - start));
        start = next;

        const std::string trimmed = Trim(line);
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
            sections_.push_back(Section{Trim(trimmed.substr(1, trimmed.size() - 2)), true, {}});
            continue;
        }
        Line entry{line, std::string()};
        const auto equals = line.find('=');
        if (equals != std::string::npos && !trimmed.empty() && trimmed.front() != ';' &&
            trimmed.front() != '#') {
            entry.key = Trim(line.substr(0, equals));
        }
        sections_.back().lines.push_back(std::move(entry));
    }
}

const IniFile::Section* IniFile::FindSection(const std::string& name) const {
    for (const Section& section : sections_) {
        if (section.hasHeader && SameName(section.name, name)) {
            return &section;
        }
    }
    return nullptr;
}

IniFile::Section* IniFile::FindSection(const std::string& name) {
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

const IniFile::Line* IniFile::FindLine(const std::string& section, const std::string& key) const {
    const Section* found = FindSection(section);
    if (found == nullptr) {
        return nullptr;
    }
    for (const Line& line : found->lines) {
        if (!line.key.empty() && SameName(line.key, key)) {
            return &line;
        }
    }
    return nullptr;
}

std::optional<std::string> IniFile::ReadString(const std::string& section,
                                               const std::string& key) const {
    const Line* line = FindLine(section, key);
    if (line == nullptr) {
        return std::nullopt;
    }
    return Unquoted(Trim(line->text.substr(line->text.find('=') + 1)));
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
    return ReadString(section, key).value_or(fallback);
}

long long IniFile::ReadInteger(const std::string& section, const std::string& key,
                               long long fallback) const {
    const auto text = ReadString(section, key);
    if (!text) {
        return fallback;
    }
    return ParseInteger(*text).value_or(fallback);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
    // A line break would end the line early and let the rest be read as other
    // keys or sections; names must read back as themselves.
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) ||
        Trim(section) != section || Trim(key) != key || key.empty() ||
        key.find('=') != std::string::npos || section.find(']') != std::string::npos ||
        key.front() == '[' || key.front() == ';' || key.front() == '#') {
        return false;
    }
    const std::string text = NeedsQuotes(value) ? '"' + value + '"' : value;
    Section* found = FindSection(section);
    if (found == nullptr) {
        // A new section is separated from what precedes it by one empty line.
        Section& last = sections_.empty() ? sections_.emplace_back() : sections_.back();
        if (!last.lines.empty() && !Trim(last.lines.back().text).empty()) {
            last.lines.push_back(Line{});
        }
        sections_.push_back(Section{section, true, {Line{}}});
        found = &sections_.back();
    }
    for (Line& line : found->lines) {
        if (!line.key.empty() && SameName(line.key, key)) {
            line.text = line.key + "=" + text;
            return true;
        }
    }
    // After the section's last non-blank line, so trailing empty lines stay last.
    auto position = found->lines.end();
    while (position != found->lines.begin() && Trim(std::prev(position)->text).empty()) {
        --position;
    }
    found->lines.insert(position, Line{key + "=" + text, key});
    return true;
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, long long value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::vector<IniFile::Entry> IniFile::Entries() const {
    std::vector<Entry> entries;
    for (const Section& section : sections_) {
        if (!section.hasHeader) {
            continue;
        }
        for (const Line& line : section.lines) {
            if (!line.key.empty()) {
                entries.push_back({section.name, line.key,
                                   ReadString(section.name, line.key).value_or(std::string())});
            }
        }
    }
    return entries;
}

std::string IniFile::Text() const {
    std::string text = byteOrderMark_ ? ByteOrderMark : std::string();
    for (const Section& section : sections_) {
        if (section.hasHeader) {
            text += "[" + section.name + "]" + lineEnding_;
        }
        for (const Line& line : section.lines) {
            text += line.text + lineEnding_;
        }
    }
    return text;
}

void IniFile::UpdateFile() const {
    if (!loadError_.isEmpty()) {
        throw FileError(loadError_.toStdString());
    }
    WriteRegularFile(path_, Text());
}
