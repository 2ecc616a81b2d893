#include "TerminalText.h"

#include "Utf8Cut.h"

#include <cstdio>

namespace {

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

int CharacterWidth(char32_t c) {
    if ((c >= 0x0300 && c <= 0x036F) || (c >= 0x200B && c <= 0x200F) ||
        (c >= 0xFE00 && c <= 0xFE0F)) {
        return 0;
    }
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
                      (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
                      (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
                      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                      (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                      (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
                      (c >= 0x20000 && c <= 0x3FFFD);
    return wide ? 2 : 1;
}

} // namespace

std::string LineSafePath(const std::string& path) {
    bool control = false;
    for (const char c : path) {
        control = control || IsControl(static_cast<unsigned char>(c));
    }
    if (!control) {
        return path;
    }
    std::string quoted = "$'";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            quoted += "\\n";
        } else if (c == '\t') {
            quoted += "\\t";
        } else if (c == '\r') {
            quoted += "\\r";
        } else if (c == '\\' || c == '\'') {
            quoted.append(1, '\\').append(1, c);
        } else if (IsControl(byte)) {
            char hex[8];
            std::snprintf(hex, sizeof(hex), "\\x%02X", byte);
            quoted += hex;
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

size_t DisplayWidth(const std::string& text) {
    size_t width = 0;
    for (size_t at = 0; at < text.size();) {
        const Utf8Character character = Utf8CharacterAt(text, at);
        at += character.bytes;
        width += static_cast<size_t>(CharacterWidth(character.code));
    }
    return width;
}

std::string KeepEndWithin(const std::string& text, size_t columns) {
    if (DisplayWidth(text) <= columns) {
        return text;
    }
    // As many of the last characters as fit beside "…".
    const auto width = [](const Utf8Character& c) {
        return static_cast<size_t>(CharacterWidth(c.code));
    };
    return std::string("…").append(
        CutUtf8(text, KeepSide::End, columns > 0 ? columns - 1 : 0, width));
}
