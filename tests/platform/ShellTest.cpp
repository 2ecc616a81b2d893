#include "Shell.h"

#include <QDir>
#include <gtest/gtest.h>
#include <vector>

namespace {

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetShowItemsFunction([this](const QStringList& uris) {
            shown.push_back(uris);
            return fileManagerAnswers;
        });
        SetOpenUrlFunction([this](const QUrl& url) {
            opened.push_back(url);
            return true;
        });
    }
    void TearDown() override {
        SetShowItemsFunction({});
        SetOpenUrlFunction({});
    }

    bool fileManagerAnswers = true;
    std::vector<QStringList> shown;
    std::vector<QUrl> opened;
};

TEST_F(ShellTest, FileManagerShowsTheFileByItsUri) {
    ShowFileInFileManager(QString::fromUtf8("/home/u/剪切/a b_剪切1206035959.mp3"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0],
              QStringList{QStringLiteral(
                  "file:///home/u/%E5%89%AA%E5%88%87/a%20b_%E5%89%AA%E5%88%871206035959.mp3")});
    EXPECT_TRUE(opened.empty());
}

TEST_F(ShellTest, WithoutFileManagerTheFolderIsOpened) {
    fileManagerAnswers = false;
    ShowFileInFileManager(QString::fromUtf8("/home/u/剪切/song.mp3"));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromUtf8("/home/u/剪切")));
}

TEST_F(ShellTest, FoldersOpenAsFileUrlsAndAddressesAsThemselves) {
    EXPECT_EQ(UrlForFolderOrAddress(QString::fromUtf8("/home/u/剪切")),
              QUrl::fromLocalFile(QString::fromUtf8("/home/u/剪切")));
    EXPECT_EQ(UrlForFolderOrAddress(QStringLiteral("cuts")),
              QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("cuts"))));
    EXPECT_EQ(UrlForFolderOrAddress(QStringLiteral("https://example.org/tesmira")),
              QUrl(QStringLiteral("https://example.org/tesmira")));
    OpenFolderOrUrl(QStringLiteral("/tmp"));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(QStringLiteral("/tmp")));
}

} // namespace
