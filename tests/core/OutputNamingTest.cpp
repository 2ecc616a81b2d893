#include "OutputNaming.h"
#include "TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <vector>

namespace {

// 2023-12-06 03:59:59 in UTC+8 (19:59:59 UTC the day before).
constexpr std::time_t kCutTime = 1701806399;

class OutputNamingTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* tz = std::getenv("TZ")) {
            savedTz = tz;
        }
        UseTimeZone("CST-8");
        std::filesystem::create_directory(folder);
    }
    void TearDown() override {
        if (savedTz) {
            setenv("TZ", savedTz->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    static void UseTimeZone(const char* tz) {
        setenv("TZ", tz, 1);
        tzset();
    }
    static void Touch(const std::string& path) { std::ofstream(path) << "x"; }

    TempDir temp;
    std::string folder = temp.File("剪切");
    std::optional<std::string> savedTz;
};

TEST_F(OutputNamingTest, NamesTheCutFromBaseNameSuffixLocalStampAndExtension) {
    EXPECT_EQ(BuildOutputPath(folder, "/music/song.mp3", kCutTime),
              folder + "/song_剪切1206035959.mp3");
    // The stamp is local time, not UTC.
    UseTimeZone("UTC0");
    EXPECT_EQ(BuildOutputPath(folder, "/music/song.mp3", kCutTime),
              folder + "/song_剪切1205195959.mp3");
}

TEST_F(OutputNamingTest, ALongTitleIsShortenedAtACharacterSoTheNumberedNameFits255Bytes) {
    std::string title;
    for (int i = 0; i < 90; ++i) {
        title += "歌"; // three bytes each
    }
    std::string kept;
    for (int i = 0; i < 75; ++i) {
        kept += "歌";
    }
    EXPECT_EQ(BuildOutputPath(folder, "/m/" + title + ".mp3", kCutTime),
              folder + "/" + kept + "_剪切1206035959.mp3");
}

TEST_F(OutputNamingTest, SplitsPathsAtTheFileNamesLastDot) {
    EXPECT_EQ(GetFileName("/a.b/song.mp3"), "song.mp3");
    EXPECT_EQ(GetBaseName("/a.b/song.mp3"), "song");
    EXPECT_EQ(GetExtension("/a.b/song.mp3"), ".mp3");
    EXPECT_EQ(GetBaseName("/m/live.at.home.MP3"), "live.at.home");
    EXPECT_EQ(GetExtension("/m/live.at.home.MP3"), ".MP3");
    EXPECT_EQ(GetFileName("song.mp3"), "song.mp3");
    EXPECT_EQ(BuildOutputPath(folder, "/a.b/song.mp3", kCutTime),
              folder + "/song_剪切1206035959.mp3");
    EXPECT_EQ(BuildOutputPath(folder, "/m/Song.MP3", kCutTime),
              folder + "/Song_剪切1206035959.MP3");
}

TEST_F(OutputNamingTest, NameWithoutDotIsItsOwnBaseAndHasNoExtension) {
    // A dot in a folder name must not become an extension holding a '/'.
    EXPECT_EQ(GetExtension("/a.b/song"), "");
    EXPECT_EQ(GetBaseName("/a.b/song"), "");
    EXPECT_EQ(BuildOutputPath(folder, "/a.b/song", kCutTime), folder + "/song_剪切1206035959");
}

TEST_F(OutputNamingTest, FolderEndingWithSlashGetsNoSecondSlash) {
    EXPECT_EQ(BuildOutputPath(folder + "/", "/music/song.mp3", kCutTime),
              folder + "/song_剪切1206035959.mp3");
}

// A taken name moves on to the next number before the extension; a failed claim ends the search.
TEST(ClaimNumberedName, OffersTheNameThenItsNumberedNamesInTurn) {
    const struct {
        std::string path;
        int taken; // names taken before the claim succeeds, or fails with failAt
        int failAt;
        std::string claimed;
    } cases[] = {{"/f/a.mp3", 0, 0, "/f/a.mp3"},
                 {"/f/a.mp3", 2, 0, "/f/a_3.mp3"},
                 {"/f.d/a", 1, 0, "/f.d/a_2"},
                 {"/f/a.mp3", 1, 2, ""},
                 {"/f/a.mp3", kHighestNumber, 0, ""}};
    for (const auto& c : cases) {
        std::vector<std::string> offered;
        const std::string claimed = ClaimNumberedName(c.path, [&](const std::string& name) {
            offered.push_back(name);
            const int n = static_cast<int>(offered.size());
            return n == c.failAt  ? NameClaim::Failed
                   : n <= c.taken ? NameClaim::NameTaken
                                  : NameClaim::Claimed;
        });
        EXPECT_EQ(claimed, c.claimed) << c.path << " " << c.taken;
        const int asked = std::min(c.failAt ? c.failAt : c.taken + 1, kHighestNumber);
        EXPECT_EQ(offered.size(), static_cast<size_t>(asked));
    }
}

TEST_F(OutputNamingTest, TimeStampIsTenDigitsOrEmptyWhenTimeCannotBeConverted) {
    EXPECT_EQ(MakeTimeStamp(1704067200), "0101080000"); // 2024-01-01 00:00 UTC is 08:00 here
    EXPECT_EQ(MakeTimeStamp(std::numeric_limits<std::time_t>::max()), "");
}

} // namespace
