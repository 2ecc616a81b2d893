#include "Settings.h"
#include "CodePage.h"
#include "TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(temp.Path() / "bin");
        fs::create_directories(home);
    }
    SettingsEnvironment Environment(const std::string& configHome = "") const {
        return {temp.File("bin") + "/", home, configHome};
    }
    std::string IniPath() const { return temp.File("bin") + "/Set.ini"; }
    void WriteIni(const std::string& text) const { std::ofstream(IniPath()) << text; }
    static std::string ReadAll(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string Loaded(const std::string& configHome = "") const {
        Settings settings(Environment(configHome));
        settings.LoadSettings();
        return settings.SaveFolder();
    }

    TempDir temp;
    std::string home = temp.File("home");
    std::string defaultFolder = temp.File("home") + "/剪切";
};

TEST_F(SettingsTest, MissingFileOrKeyGivesTheDefaultFolderAndCreatesIt) {
    EXPECT_EQ(Loaded(), defaultFolder);
    EXPECT_TRUE(fs::is_directory(defaultFolder));
    EXPECT_FALSE(fs::exists(IniPath())); // reading never writes

    WriteIni("[PLAYERSET]\nOther=/tmp\n[ELSEWHERE]\nEditDir=/tmp\n");
    EXPECT_EQ(Loaded(), defaultFolder);
}

TEST_F(SettingsTest, ChosenFolderWithChineseNameRoundTrips) {
    const std::string chosen = temp.File("音乐 剪切");
    fs::create_directory(chosen);
    Settings settings(Environment());
    EXPECT_TRUE(settings.SetSaveFolder(chosen));
    EXPECT_EQ(settings.SaveFolder(), chosen);
    EXPECT_EQ(ReadAll(IniPath()), "[PLAYERSET]\nEditDir=" + chosen + "\n");
    EXPECT_EQ(Loaded(), chosen);
}

TEST_F(SettingsTest, SavingKeepsTheFilesOtherEntries) {
    WriteIni("; mine\n[Window]\nx=1\n\n[playerset]\neditdir=/old\nVolume=7\n");
    Settings settings(Environment());
    settings.SetSaveFolder(home);
    EXPECT_EQ(ReadAll(IniPath()),
              "; mine\n[Window]\nx=1\n\n[playerset]\nEditDir=" + home + "\nVolume=7\n");
}

TEST_F(SettingsTest, StoredGbkFolderIsReadAsUtf8) {
    const std::string stored = temp.File("歌曲");
    fs::create_directory(stored);
    WriteIni("[PLAYERSET]\r\nEditDir=" + Utf8ToGbk(stored) + "\r\n");
    EXPECT_EQ(Loaded(), stored);
}

TEST_F(SettingsTest, StoredFolderIsCreatedOneLevelDeepOrReplacedByTheDefault) {
    const std::string creatable = temp.File("new");
    WriteIni("[PLAYERSET]\nEditDir=" + creatable + "\n");
    EXPECT_EQ(Loaded(), creatable);
    EXPECT_TRUE(fs::is_directory(creatable));

    WriteIni("[PLAYERSET]\nEditDir=" + temp.File("missing/new") + "\n");
    EXPECT_EQ(Loaded(), defaultFolder);
    EXPECT_FALSE(fs::exists(temp.File("missing")));
}

TEST_F(SettingsTest, CheckFolderAcceptsOnlyFoldersThatAreOrCanBeMade) {
    EXPECT_FALSE(Settings::CheckFolder(""));
    EXPECT_TRUE(Settings::CheckFolder(home));
    EXPECT_TRUE(Settings::CheckFolder(temp.File("fresh")));
    EXPECT_TRUE(fs::is_directory(temp.File("fresh")));
    EXPECT_FALSE(Settings::CheckFolder(temp.File("no/such")));
    std::ofstream(temp.File("plain")) << "x";
    EXPECT_FALSE(Settings::CheckFolder(temp.File("plain")));
}

TEST_F(SettingsTest, UnwritableExecutableFolderKeepsSettingsInTheConfigFolder) {
    // A folder below a plain file cannot be written even by root.
    std::ofstream(temp.File("file")) << "x";
    SettingsEnvironment env{temp.File("file") + "/bin/", home, ""};
    Settings settings(env);
    EXPECT_EQ(settings.SettingsPath(), home + "/.config/tesmira/Set.ini");
    EXPECT_TRUE(settings.SetSaveFolder(home));
    Settings reloaded(env);
    reloaded.LoadSettings();
    EXPECT_EQ(reloaded.SaveFolder(), home);

    env.configHome = temp.File("xdg");
    EXPECT_EQ(Settings(env).SettingsPath(), temp.File("xdg") + "/tesmira/Set.ini");
    env.configHome = "relative/cfg"; // not absolute: ignored
    EXPECT_EQ(Settings(env).SettingsPath(), home + "/.config/tesmira/Set.ini");
}

TEST_F(SettingsTest, ReadOnlyExecutableFolderKeepsSettingsInTheConfigFolder) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root writes into a mode 555 folder; the case under a file covers it";
    }
    chmod(temp.File("bin").c_str(), 0555);
    const Settings settings(Environment(temp.File("xdg")));
    chmod(temp.File("bin").c_str(), 0755);
    EXPECT_EQ(settings.SettingsPath(), temp.File("xdg") + "/tesmira/Set.ini");
}

TEST_F(SettingsTest, WritableExecutableFolderHoldsTheSettings) {
    EXPECT_EQ(Settings(Environment(temp.File("xdg"))).SettingsPath(), IniPath());
}

} // namespace
