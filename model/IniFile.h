// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// An INI file held whole in memory. Section and key names match without regard
// to letter case; order, comments and unknown content survive a write. Values are
// replaced in place; a missing key is added at the end of its section and a
// missing section at the end of the file. Lines end at LF, CRLF or a lone CR; a
// file is written back with the line ending and byte-order mark it had.
class IniFile {
public:
    // Larger files are not settings files; they are neither read nor overwritten.
    static constexpr qint64 MaximumFileSize = 1024 * 1024;

    // Loads the file; a missing or unreadable file gives an empty one. A new file
    // will end its lines with `newFileLineEnding`.
    explicit IniFile(const QString& path, std::string newFileLineEnding = "\n");
    explicit IniFile(std::filesystem::path path, std::string newFileLineEnding = "\n");
    // Parses text as the content of a file at `path`.
    static IniFile FromText(const std::string& text,
                            std::filesystem::path path = std::filesystem::path(),
                            std::string newFileLineEnding = "\n");
    // The whole text of the regular file at `path`, empty when it does not exist;
    // nothing, with the reason in `error`, when it cannot be read, is no regular
    // file or is larger than the limit.
    static std::optional<std::string> ReadFileText(const std::filesystem::path& path,
                                                   QString& error);

    // Why the file was not read (too large, unreadable); empty when it was, or
    // when it does not exist.
    const QString& LoadError() const { return loadError_; }

    std::optional<std::string> ReadString(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    // A missing key, or a value that is not a whole decimal number, gives the fallback.
    long long ReadInteger(const std::string& section, const std::string& key,
                          long long fallback) const;
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;

    // A name or value holding a line break, or a name that would not read back as
    // itself, is not written: false, nothing changed. A value with blanks at its
    // ends is written quoted, and read back without the quotes.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, long long value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    struct Entry {
        std::string section;
        std::string key;
        std::string value;
    };
    // Every key in file order, as ReadString finds it (the first of duplicates wins there).
    std::vector<Entry> Entries() const;

    std::string Text() const;
    // Writes the file atomically; throws FileError naming the file on failure (the
    // old file then stays as it was), and for a file that was not read (see LoadError).
    void UpdateFile() const;

private:
    struct Line {
        std::string text;
        std::string key; // empty for blank lines, comments and other content
    };
    struct Section {
        std::string name; // empty for the lines before the first header
        bool hasHeader = false;
        std::vector<Line> lines;
    };

    void Parse(const std::string& text);
    const Section* FindSection(const std::string& name) const;
    Section* FindSection(const std::string& name);
    const Line* FindLine(const std::string& section, const std::string& key) const;

    std::filesystem::path path_;
    QString loadError_;
    std::string lineEnding_;
    bool byteOrderMark_ = false;
    std::vector<Section> sections_;
};

// Whole decimal number with an optional sign and surrounding blanks, or nothing.
std::optional<long long> ParseInteger(const std::string& text);
