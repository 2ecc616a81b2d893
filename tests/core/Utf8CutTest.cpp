#include "Utf8Cut.h"

#include <gtest/gtest.h>

namespace {

size_t DoubleWide(const Utf8Character& c) {
    return c.code >= 0x4E00 && c.code <= 0x9FFF ? 2 : 1;
}

// Cut between characters, never inside one; a stray byte is a character of its own.
TEST(CutUtf8, KeepsWholeCharactersWithinTheRoom) {
    const struct {
        std::string text;
        KeepSide side;
        size_t room;
        bool wide; // sizes by DoubleWide rather than bytes
        std::string kept;
    } cases[] = {
        {"ab歌曲", KeepSide::Start, 4, false, "ab"},
        {"ab歌曲", KeepSide::Start, 5, false, "ab歌"},
        {"ab歌曲", KeepSide::End, 5, false, "曲"},
        {"ab歌曲", KeepSide::End, 100, false, "ab歌曲"},
        {"ab歌曲", KeepSide::End, 5, true, "b歌曲"},
        {"ab歌曲", KeepSide::Start, 3, true, "ab"},
        {"\xE6\xAD", KeepSide::Start, 1, false, "\xE6"},
        {"a\x80\x80", KeepSide::End, 2, false, "\x80\x80"},
        {"歌", KeepSide::Start, 0, false, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CutUtf8(c.text, c.side, c.room, c.wide ? DoubleWide : CharacterSize{}), c.kept)
            << c.text << " " << c.room;
    }
}

} // namespace
