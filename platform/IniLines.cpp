#include "IniLines.h"

#include "AtomicFile.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

const char kBom[] = "\xEF\xBB\xBF";

std::string Trim(const std::string& text) {
    const char* blanks = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// "[name]" (blanks allowed around and inside the brackets) gives name.
bool ParseSection(const std::string& line, std::string& name) {
    const std::string text = Trim(line);
    if (text.size() < 2 || text.front() != '[') {
        return false;
    }
    const size_t close = text.find(']');
    if (close == std::string::npos) {
        return false;
    }
    name = Trim(text.substr(1, close - 1));
    return true;
}

bool ParseKey(const std::string& line, std::string& key) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
        return false;
    }
    key = Trim(line.substr(0, equals));
    return !key.empty();
}

} // namespace

bool IniLines::Load(const std::string& path) {
    lines.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return false;
    }
    byteOrderMark = text.compare(0, 3, kBom) == 0;
    if (byteOrderMark) {
        text.erase(0, 3);
    }
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
            crlf = true;
        }
        lines.push_back(line);
    }
    return true;
}

size_t IniLines::FindSection(const std::string& section) const {
    std::string name;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (ParseSection(lines[i], name) && EqualsNoCase(name, section)) {
            return i;
        }
    }
    return npos;
}

size_t IniLines::SectionEnd(size_t header) const {
    std::string name;
    size_t i = header + 1;
    while (i < lines.size() && !ParseSection(lines[i], name)) {
        ++i;
    }
    return i;
}

size_t IniLines::FindKey(const std::string& section, const std::string& key) const {
    const size_t header = FindSection(section);
    if (header == npos) {
        return npos;
    }
    const size_t end = SectionEnd(header);
    std::string name;
    for (size_t i = header + 1; i < end; ++i) {
        if (ParseKey(lines[i], name) && EqualsNoCase(name, key)) {
            return i;
        }
    }
    return npos;
}

std::string IniLines::ValueAt(size_t index) const {
    const std::string& line = lines[index];
    std::string value = Trim(line.substr(line.find('=') + 1));
    // A value written in quotes is read without them.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

void IniLines::Set(const std::string& section, const std::string& key, const std::string& value) {
    const std::string keyLine = key + "=" + value;
    const size_t existing = FindKey(section, key);
    if (existing != npos) {
        lines[existing] = keyLine;
        return;
    }
    const size_t header = FindSection(section);
    if (header == npos) {
        lines.push_back("[" + section + "]");
        lines.push_back(keyLine);
        return;
    }
    // After the section's last non-blank line, so blank lines before the next section stay.
    size_t insertAt = SectionEnd(header);
    while (insertAt > header + 1 && Trim(lines[insertAt - 1]).empty()) {
        --insertAt;
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), keyLine);
}

bool IniLines::SaveAtomically(const std::string& path) const {
    std::string text = byteOrderMark ? kBom : "";
    const char* lineEnd = crlf ? "\r\n" : "\n";
    for (const std::string& line : lines) {
        text += line;
        text += lineEnd;
    }
    return WriteFileAtomically(path, text);
}
