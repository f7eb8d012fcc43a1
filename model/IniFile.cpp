#include "IniFile.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <stdexcept>

namespace {

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return std::string();
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
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
    if (begin != end && *begin == '+') {
        ++begin;
    }
    long long value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end || begin == end) {
        return std::nullopt;
    }
    return value;
}

IniFile::IniFile(QString path) : path_(std::move(path)) {
    QFile file(path_);
    if (file.open(QIODevice::ReadOnly)) {
        Parse(file.readAll().toStdString());
    }
}

void IniFile::Parse(const std::string& text) {
    sections_.push_back(Section{});
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        start = end + 1;

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
    return line->text.substr(line->text.find('=') + 1);
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

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
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
            line.text = line.key + "=" + value;
            return;
        }
    }
    // After the section's last non-blank line, so trailing empty lines stay last.
    auto position = found->lines.end();
    while (position != found->lines.begin() && Trim(std::prev(position)->text).empty()) {
        --position;
    }
    found->lines.insert(position, Line{key + "=" + value, key});
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, long long value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::string IniFile::Text() const {
    std::string text;
    for (const Section& section : sections_) {
        if (section.hasHeader) {
            text += "[" + section.name + "]\n";
        }
        for (const Line& line : section.lines) {
            text += line.text + "\n";
        }
    }
    return text;
}

void IniFile::UpdateFile() const {
    QSaveFile file(path_);
    const std::string text = Text();
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit()) {
        throw std::runtime_error("Cannot write file " + path_.toStdString() + ": " +
                                 file.errorString().toStdString());
    }
}
