#include "IniFile.h"
#include "CodePage.h"
#include "TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void Write(const std::string& text) const { std::ofstream(path, std::ios::binary) << text; }
    std::string Contents() const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string Read(const std::string& section, const std::string& key) const {
        return IniFile(path).ReadString(section, key, "默认");
    }
    bool Set(const std::string& value) const {
        return IniFile(path).WriteString("PLAYERSET", "EditDir", value);
    }

    TempDir temp;
    std::string path = temp.File("Set.ini");
};

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(Read("PLAYERSET", "EditDir"), "默认");
    Write("[PLAYERSET]\nOther=1\nEditDir\n[Else]\nEditDir=/x\n");
    EXPECT_EQ(Read("PLAYERSET", "EditDir"), "默认");
    EXPECT_EQ(Read("Nowhere", "Other"), "默认");
    EXPECT_EQ(Read("PLAYERSET", "Other"), "1");
}

TEST_F(IniFileTest, NamesMatchWithoutCaseAndTheFirstMatchWins) {
    Write("\xEF\xBB\xBF[ playerset ]\n  editdir = /音乐/a b  \n[PlayerSet]\nEditDir=/second\n");
    EXPECT_EQ(Read("PLAYERSET", "EditDir"), "/音乐/a b");
    EXPECT_TRUE(Set("/new"));
    EXPECT_EQ(Contents(),
              "\xEF\xBB\xBF[ playerset ]\nEditDir=/new\n[PlayerSet]\nEditDir=/second\n");
}

TEST_F(IniFileTest, QuotedValuesAreReadWithoutQuotes) {
    Write("[PLAYERSET]\nEditDir=\"/a b/\"\nOther='x'\nOdd=\"y\n");
    EXPECT_EQ(Read("PLAYERSET", "EditDir"), "/a b/");
    EXPECT_EQ(Read("PLAYERSET", "Other"), "x");
    EXPECT_EQ(Read("PLAYERSET", "Odd"), "\"y");
}

TEST_F(IniFileTest, WriteCreatesTheFileAndReadsBackUtf8) {
    EXPECT_TRUE(Set("/home/用户/剪切"));
    EXPECT_EQ(Contents(), "[PLAYERSET]\nEditDir=/home/用户/剪切\n");
    EXPECT_EQ(Read("PLAYERSET", "EditDir"), "/home/用户/剪切");
}

TEST_F(IniFileTest, WriteKeepsEverythingElseByteForByte) {
    const std::string gbk = Utf8ToGbk("歌曲");
    Write("; comment\r\n[Other]\r\nName=" + gbk +
          "\r\n\r\n[PLAYERSET]\r\nVolume=3\r\n\r\n[Last]\r\nx");
    EXPECT_TRUE(Set("/d"));
    EXPECT_EQ(Contents(),
              "; comment\r\n[Other]\r\nName=" + gbk +
                  "\r\n\r\n[PLAYERSET]\r\nVolume=3\r\nEditDir=/d\r\n\r\n[Last]\r\nx\r\n");
    EXPECT_TRUE(IniFile(path).WriteString("New", "k", "v"));
    EXPECT_EQ(Contents().substr(Contents().size() - 12), "[New]\r\nk=v\r\n");
}

TEST_F(IniFileTest, ValueThatIsNotUtf8IsReadAsGbk) {
    Write("[PLAYERSET]\nEditDir=" + Utf8ToGbk("/home/用户/剪切") + "\n");
    EXPECT_EQ(Read("PLAYERSET", "EditDir"), "/home/用户/剪切");
}

TEST_F(IniFileTest, RefusesWhatTheFileCannotHoldAndLeavesItAlone) {
    Write("[PLAYERSET]\nEditDir=/old\n");
    EXPECT_FALSE(Set("/a\nEditDir=/b"));
    EXPECT_FALSE(IniFile(path).WriteString("PLAYERSET", "a=b", "v"));
    EXPECT_FALSE(IniFile(path).WriteString("", "k", "v"));
    EXPECT_EQ(Contents(), "[PLAYERSET]\nEditDir=/old\n");
}

TEST_F(IniFileTest, FailedWriteReportsFailureAndLeavesNoFile) {
    std::ofstream(temp.File("file")) << "x";
    // Below a plain file nothing can be created, by root either.
    EXPECT_FALSE(IniFile(temp.File("file") + "/Set.ini").WriteString("S", "k", "v"));
    EXPECT_FALSE(IniFile(temp.File("missing") + "/Set.ini").WriteString("S", "k", "v"));
    EXPECT_FALSE(fs::exists(temp.File("missing")));
}

// Temporary files of a writer that was killed are removed; a running writer's stay.
TEST_F(IniFileTest, ReplacementLeavesNoTemporaryAndKeepsModeAndLinks) {
    Write("[PLAYERSET]\nEditDir=/old\n");
    const pid_t gone = fork();
    if (gone == 0) {
        _exit(0);
    }
    waitpid(gone, nullptr, 0);
    const std::string stale = path + ".tmp." + std::to_string(gone) + ".0";
    const std::string running = path + ".tmp.1.0"; // init never ends
    std::ofstream(stale) << "half";
    std::ofstream(running) << "half";
    chmod(path.c_str(), 0640);
    fs::create_symlink(path, temp.File("link.ini"));
    EXPECT_TRUE(IniFile(temp.File("link.ini")).WriteString("PLAYERSET", "EditDir", "/new"));
    EXPECT_TRUE(fs::is_symlink(temp.File("link.ini")));
    EXPECT_EQ(Read("PLAYERSET", "EditDir"), "/new");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(temp.Path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 3); // Set.ini, the link and the running writer's file
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(running));
}

} // namespace
