#include "Folders.h"
#include "TempDir.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>

namespace fs = std::filesystem;

namespace {

TEST(FoldersTest, CreateDirectoryMakesOneLevelAndReportsWhatIsThere) {
    TempDir temp;
    EXPECT_EQ(CreateDirectory(temp.File("剪切")), 0);
    EXPECT_TRUE(fs::is_directory(temp.File("剪切")));
    EXPECT_EQ(CreateDirectory(temp.File("剪切")), EEXIST);
    EXPECT_EQ(CreateDirectory(temp.File("a/b")), ENOENT);
    EXPECT_FALSE(fs::exists(temp.File("a")));
    std::ofstream(temp.File("file")) << "x";
    EXPECT_EQ(CreateDirectory(temp.File("file")), EEXIST);
    EXPECT_NE(CreateDirectory(""), 0);
}

TEST(FoldersTest, FolderExistsOnlyForFolders) {
    TempDir temp;
    std::ofstream(temp.File("file")) << "x";
    fs::create_directory_symlink(temp.Path(), temp.File("link"));
    EXPECT_TRUE(FolderExists(temp.Path().string()));
    EXPECT_TRUE(FolderExists(temp.Path().string() + "/"));
    EXPECT_TRUE(FolderExists(temp.File("link")));
    EXPECT_FALSE(FolderExists(temp.File("file")));
    EXPECT_FALSE(FolderExists(temp.File("missing")));
    EXPECT_FALSE(FolderExists(""));
}

TEST(FoldersTest, FolderBelowAFileIsNotWritable) {
    TempDir temp;
    std::ofstream(temp.File("file")) << "x";
    EXPECT_TRUE(FolderWritable(temp.Path().string()));
    EXPECT_FALSE(FolderWritable(temp.File("file")));
    EXPECT_FALSE(FolderWritable(temp.File("file") + "/sub"));
    EXPECT_FALSE(FolderWritable(temp.File("missing")));
}

class HomeFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* home = std::getenv("HOME")) {
            saved = home;
        }
    }
    void TearDown() override {
        if (saved) {
            setenv("HOME", saved->c_str(), 1);
        } else {
            unsetenv("HOME");
        }
    }
    std::optional<std::string> saved;
};

TEST_F(HomeFolderTest, ComesFromHomeWithoutTrailingSlash) {
    setenv("HOME", "/srv/ü/", 1);
    EXPECT_EQ(GetHomeFolder(), "/srv/ü");
    setenv("HOME", "/", 1);
    EXPECT_EQ(GetHomeFolder(), "/");
}

TEST_F(HomeFolderTest, FallsBackToThePasswordDatabase) {
    setenv("HOME", "", 1);
    const std::string fromEmpty = GetHomeFolder();
    unsetenv("HOME");
    EXPECT_EQ(GetHomeFolder(), fromEmpty);
    EXPECT_EQ(fromEmpty.front(), '/');
}

} // namespace
