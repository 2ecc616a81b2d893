#pragma once
// A settings file with the private-profile rules: "[section]" lines and
// "key=value" lines, names matched without regard to ASCII case, the first match
// wins, and a missing file, section or key gives the caller's default. A write
// changes one line and keeps the rest of the file byte for byte; it replaces the
// file in one step (temporary file, then rename), so a crash never leaves half a file.
// Text is written as UTF-8; a stored value that is not valid UTF-8 is read as GBK.
#include <string>

class IniFile {
public:
    explicit IniFile(std::string path);

    const std::string& Path() const { return path; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

    // False when the file cannot be written, or when a name or the value holds a line
    // break (or the key a '='), which the file could not store faithfully.
    bool WriteString(const std::string& section, const std::string& key,
                     const std::string& value) const;

private:
    std::string path;
};
