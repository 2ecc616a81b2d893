#include "TerminalText.h"

#include <gtest/gtest.h>

// A name that would break a line-reading script comes out quoted as a shell reads it back;
// any other stays as it is.
TEST(TerminalText, LineSafePathQuotesOnlyNamesWithControlCharacters) {
    EXPECT_EQ(LineSafePath("/歌/a b's.mp3"), "/歌/a b's.mp3");
    EXPECT_EQ(LineSafePath("/tmp/a\nb.mp3"), "$'/tmp/a\\nb.mp3'");
    EXPECT_EQ(LineSafePath("it's\t\\\x01\x7f"), "$'it\\'s\\t\\\\\\x01\\x7F'");
}

// Status lines are measured in terminal columns and cut between characters.
TEST(TerminalText, KeepEndWithinCutsAtCharactersByColumns) {
    EXPECT_EQ(DisplayWidth("ab歌曲"), 6u);
    EXPECT_EQ(DisplayWidth("e\u0301"), 1u);
    const std::string name = "很长的中文歌曲名字_剪切1208093000.mp3";
    const std::string shown = KeepEndWithin(name, 24);
    EXPECT_EQ(shown, "…名字_剪切1208093000.mp3");
    EXPECT_LE(DisplayWidth(shown), 24u);
    // Odd columns: a wide character that does not fit whole is left out.
    EXPECT_EQ(KeepEndWithin("歌曲名字", 6), "…名字");
    EXPECT_EQ(KeepEndWithin("short", 24), "short");
}
