#include "Utf8Cut.h"

#include <vector>

Utf8Character Utf8CharacterAt(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead < 0x80    ? 1
                          : lead >= 0xF0 ? 4
                          : lead >= 0xE0 ? 3
                          : lead >= 0xC0 ? 2
                                         : 0;
    if (length == 0 || at + length > text.size()) {
        return {lead, 1};
    }
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return {lead, 1};
        }
        code = (code << 6) | (next & 0x3F);
    }
    return {code, length};
}

std::string_view CutUtf8(std::string_view text, KeepSide side, size_t room,
                         const CharacterSize& size) {
    // Where each character starts, with its size; the end closes the list.
    std::vector<size_t> starts;
    std::vector<size_t> sizes;
    for (size_t at = 0; at < text.size();) {
        const Utf8Character character = Utf8CharacterAt(text, at);
        starts.push_back(at);
        sizes.push_back(size ? size(character) : character.bytes);
        at += character.bytes;
    }
    starts.push_back(text.size());
    size_t used = 0;
    if (side == KeepSide::Start) {
        size_t kept = 0;
        while (kept < sizes.size() && used + sizes[kept] <= room) {
            used += sizes[kept++];
        }
        return text.substr(0, starts[kept]);
    }
    size_t first = sizes.size();
    while (first > 0 && used + sizes[first - 1] <= room) {
        used += sizes[--first];
    }
    return text.substr(starts[first]);
}
