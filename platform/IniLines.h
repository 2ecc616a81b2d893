#pragma once
// The lines of one INI file, as IniFile reads and edits them. Lines are kept as
// read (without their line ends) so that a write leaves every other line alone.
#include <string>
#include <vector>

class IniLines {
public:
    static constexpr size_t npos = static_cast<size_t>(-1);

    // False (and no lines) when the file cannot be read.
    bool Load(const std::string& path);
    // Index of the first line holding key in the first section named section, or npos.
    size_t FindKey(const std::string& section, const std::string& key) const;
    // The value of the key line at index, without surrounding blanks or quotes.
    std::string ValueAt(size_t index) const;
    // Replaces the key's line, or adds the key at the end of its section, or adds the
    // section at the end of the file.
    void Set(const std::string& section, const std::string& key, const std::string& value);
    bool SaveAtomically(const std::string& path) const;

private:
    size_t FindSection(const std::string& section) const;
    size_t SectionEnd(size_t header) const;

    std::vector<std::string> lines;
    bool byteOrderMark = false;
    bool crlf = false;
};
