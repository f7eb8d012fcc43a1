#pragma once

#include <QString>

#include <optional>
#include <string>
#include <vector>

// An INI file held whole in memory. Section and key names match without regard
// to letter case; order, comments and unknown content survive a write. Values are
// replaced in place; a missing key is added at the end of its section and a
// missing section at the end of the file.
class IniFile {
public:
    // Loads the file; a missing or unreadable file gives an empty one.
    explicit IniFile(QString path);

    std::optional<std::string> ReadString(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    // A missing key, or a value that is not a whole decimal number, gives the fallback.
    long long ReadInteger(const std::string& section, const std::string& key,
                          long long fallback) const;
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, long long value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    std::string Text() const;
    // Writes the file atomically; throws std::runtime_error naming the file on failure.
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

    QString path_;
    std::vector<Section> sections_;
};

// Whole decimal number with an optional sign and surrounding blanks, or nothing.
std::optional<long long> ParseInteger(const std::string& text);
