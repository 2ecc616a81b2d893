// The save folder buttons: choosing a folder, and opening it in the file manager.
#include "ControlIds.h"
#include "MakerPage.h"
#include "Settings.h"
#include "Shell.h"
#include "WindowFixture.h"

#include <filesystem>
#include <fstream>

TEST_F(WindowTest, ChosenSaveFolderIsShownAndKeptButNotCreated) {
    auto dialog = MakeDialog();
    const std::string chosen = dir.File("not/yet/there");
    folderAnswer = QString::fromStdString(chosen);
    Click(*dialog, IDC_BTN_SET_SAVE_FOLDER);

    EXPECT_EQ(folderTitles, QStringList{QString::fromUtf8("选择剪切保存目录")});
    EXPECT_EQ(folderStarts, QStringList{QString::fromStdString(home + "/剪切")});
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_SAVE_FOLDER).toStdString(), chosen);
    EXPECT_EQ(dialog->settings.SaveFolder(), chosen);
    EXPECT_FALSE(std::filesystem::exists(chosen));
    // Written to Set.ini beside the executable: the next start reads it back.
    std::filesystem::create_directories(chosen);
    Settings next(SettingsEnvironment{exeFolder, home, ""});
    next.LoadSettings();
    EXPECT_EQ(next.SaveFolder(), chosen);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(WindowTest, CancelledFolderBrowserChangesNothing) {
    auto dialog = MakeDialog();
    const QString before = dialog->GetDlgItemText(IDC_EDIT_SAVE_FOLDER);
    folderAnswer.clear();
    Click(*dialog, IDC_BTN_SET_SAVE_FOLDER);
    EXPECT_EQ(folderTitles.size(), 1);
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_SAVE_FOLDER), before);
    EXPECT_FALSE(std::filesystem::exists(exeFolder + "Set.ini"));
}

TEST_F(WindowTest, OpenSaveFolderShowsTheFolderBeforeAnyCutAndTheFileAfter) {
    auto dialog = MakeDialog();
    Click(*dialog, IDC_BTN_OPEN_SAVE_FOLDER);
    ASSERT_EQ(openedUrls.size(), 1u);
    EXPECT_EQ(openedUrls.front(), QUrl::fromLocalFile(QString::fromStdString(home + "/剪切")));
    EXPECT_TRUE(shownItems.empty());

    // While its cut runs, the file has no name yet: the folder opens.
    dialog->lastOutputPath = home + "/剪切/song_剪切1206035959.mp3";
    Click(*dialog, IDC_BTN_OPEN_SAVE_FOLDER);
    EXPECT_TRUE(shownItems.empty());
    ASSERT_EQ(openedUrls.size(), 2u);
    openedUrls.pop_back();
    std::ofstream(dialog->lastOutputPath) << "cut";
    Click(*dialog, IDC_BTN_OPEN_SAVE_FOLDER);
    ASSERT_EQ(shownItems.size(), 1u);
    EXPECT_EQ(shownItems.front(),
              QStringList{QUrl::fromLocalFile(QString::fromStdString(dialog->lastOutputPath))
                              .toString(QUrl::FullyEncoded)});
    EXPECT_EQ(openedUrls.size(), 1u);
}

TEST_F(WindowTest, WithoutFileManagerOrBrowserTheButtonsSaySo) {
    SetShowItemsFunction([](const QStringList&) { return false; });
    SetOpenUrlFunction([this](const QUrl& url) {
        openedUrls.push_back(url); // tried, but nothing opened it
        return false;
    });
    auto dialog = MakeDialog();
    Click(*dialog, IDC_BTN_OPEN_SAVE_FOLDER);
    dialog->lastOutputPath = home + "/old/song_剪切1206035959.mp3";
    Click(*dialog, IDC_BTN_OPEN_SAVE_FOLDER);
    Click(*dialog, IDC_BTN_MAKER_PAGE);
    EXPECT_EQ(openedUrls.size(), 3u);
    const QString noFileManager = QString::fromUtf8("没有找到文件管理器，无法打开保存目录：\n");
    EXPECT_EQ(messages, (QStringList{noFileManager + QString::fromStdString(home + "/剪切"),
                                     noFileManager + QString::fromStdString(home + "/old"),
                                     QString::fromUtf8("没有找到网页浏览器，无法打开网页：\n") +
                                         QString::fromLatin1(kMakerPageAddress)}));
}
