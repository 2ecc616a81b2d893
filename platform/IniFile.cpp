#include "IniFile.h"

#include "CodePage.h"
#include "IniLines.h"

#include <cstddef>

IniFile::IniFile(std::string filePath) : path(std::move(filePath)) {}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
    IniLines lines;
    if (!lines.Load(path)) {
        return defaultValue;
    }
    const size_t at = lines.FindKey(section, key);
    if (at == IniLines::npos) {
        return defaultValue;
    }
    std::string value = lines.ValueAt(at);
    return IsValidUtf8(value) ? value : GbkToUtf8(value);
}

namespace {

bool StorableName(const std::string& text) {
    return !text.empty() && text.find_first_of("\r\n") == std::string::npos;
}

} // namespace

bool IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) const {
    if (!StorableName(section) || !StorableName(key) || key.find('=') != std::string::npos ||
        section.find(']') != std::string::npos ||
        value.find_first_of("\r\n") != std::string::npos) {
        return false;
    }
    IniLines lines;
    lines.Load(path); // a missing file starts empty
    lines.Set(section, key, value);
    return lines.SaveAtomically(path);
}
