#include "TerminalText.h"

#include <cstdio>
#include <vector>

namespace {

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

// Length in bytes of the UTF-8 sequence starting at text[at]; 1 for an invalid byte.
size_t SequenceLength(const std::string& text, size_t at, char32_t& code) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead < 0x80    ? 1
                          : lead >= 0xF0 ? 4
                          : lead >= 0xE0 ? 3
                          : lead >= 0xC0 ? 2
                                         : 0;
    if (length == 0 || at + length > text.size()) {
        code = lead;
        return 1;
    }
    code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            code = lead;
            return 1;
        }
        code = (code << 6) | (next & 0x3F);
    }
    return length;
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
        char32_t code = 0;
        at += SequenceLength(text, at, code);
        width += static_cast<size_t>(CharacterWidth(code));
    }
    return width;
}

std::string KeepEndWithin(const std::string& text, size_t columns) {
    if (DisplayWidth(text) <= columns) {
        return text;
    }
    // The characters' starts, then as many of the last ones as fit beside "…".
    std::vector<size_t> starts;
    std::vector<int> widths;
    for (size_t at = 0; at < text.size();) {
        char32_t code = 0;
        starts.push_back(at);
        at += SequenceLength(text, at, code);
        widths.push_back(CharacterWidth(code));
    }
    size_t used = 1;
    size_t keep = starts.size();
    while (keep > 0 && used + static_cast<size_t>(widths[keep - 1]) <= columns) {
        used += static_cast<size_t>(widths[--keep]);
    }
    return std::string("…").append(text, keep < starts.size() ? starts[keep] : text.size());
}
