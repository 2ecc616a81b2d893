#pragma once
// Cutting UTF-8 text short between characters, so no character is left half.
#include <cstddef>
#include <functional>
#include <string_view>

// One character of UTF-8 text: its code point and its length in bytes. The first byte of an
// invalid or cut-short sequence is a character of its own, its code the byte's value.
struct Utf8Character {
    char32_t code = 0;
    size_t bytes = 1;
};
Utf8Character Utf8CharacterAt(std::string_view text, size_t at);

// Which part of the text a cut keeps.
enum class KeepSide { Start, End };
// The room one character takes; without one given, its bytes.
using CharacterSize = std::function<size_t(const Utf8Character&)>;

// The longest start (or end) of text made of whole characters whose sizes add up to at most
// room.
std::string_view CutUtf8(std::string_view text, KeepSide side, size_t room,
                         const CharacterSize& size = {});
