// The save folder buttons: choosing a folder, and opening it in the file manager.
#include "ControlIds.h"
#include "CutWindowTest.h"
#include "MakerPage.h"
#include "Settings.h"
#include "Shell.h"

#include <filesystem>

TEST_F(WindowTest, ChosenSaveFolderIsShownAndKeptButNotCreated) {
    auto dialog = MakeDialog();
    const std::string chosen = dir.File("not/yet/there");
    folderAnswer = QString::fromStdString(chosen);
    Click(*dialog, IDC_BTN_SET_SAVE_FOLDER);

    EXPECT_EQ(folderTitles, QStringList{QString::fromUtf8("选择剪切保存目录")});
    EXPECT_EQ(folderStarts, QStringList{QString::fromStdString(home + "/剪切")});
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_SAVE_FOLDER).toStdString(), chosen);
    EXPECT_EQ(dialog->GetDlgItem(IDC_BTN_SET_SAVE_FOLDER)->toolTip(),
              U("保存目录：") + folderAnswer); // where the next cut goes
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

TEST_F(CutWindowTest, OpenSaveFolderShowsTheFolderBeforeAnyCutAndTheFileAfter) {
    auto dialog = DialogWithSong(10.0);
    const QUrl folder = QUrl::fromLocalFile(QString::fromStdString(home + "/剪切"));
    Click(*dialog, IDC_BTN_OPEN_SAVE_FOLDER);
    EXPECT_EQ(openedUrls, std::vector<QUrl>{folder});

    // While its cut runs, the file has no name yet: the folder opens.
    TypeInto(*dialog, IDC_EDIT_END, "10");
    Click(*dialog, IDC_BTN_START_CUT);
    Click(*dialog, IDC_BTN_OPEN_SAVE_FOLDER);
    EXPECT_EQ(openedUrls, std::vector<QUrl>(2, folder));
    ASSERT_TRUE(FollowCut(*dialog));
    Click(*dialog, IDC_BTN_OPEN_SAVE_FOLDER);
    const QUrl file = QUrl::fromLocalFile(QString::fromStdString(Output(*dialog)));
    EXPECT_EQ(shownItems, std::vector<QStringList>{{file.toString(QUrl::FullyEncoded)}});
    EXPECT_EQ(openedUrls.size(), 2u);
}

TEST_F(CutWindowTest, WithoutFileManagerOrBrowserTheButtonsSaySo) {
    SetShowItemsFunction([](const QStringList&) { return false; });
    SetOpenUrlFunction([this](const QUrl& url) {
        openedUrls.push_back(url); // tried, but nothing opened it
        return false;
    });
    auto dialog = DialogWithSong(1.0);
    Click(*dialog, IDC_BTN_OPEN_SAVE_FOLDER);
    // The last cut's file is gone and the save folder has moved on: its folder is named.
    CutRange(*dialog, "0", "1");
    std::filesystem::remove(Output(*dialog));
    folderAnswer = QString::fromStdString(home + "/other");
    Click(*dialog, IDC_BTN_SET_SAVE_FOLDER);
    Click(*dialog, IDC_BTN_OPEN_SAVE_FOLDER);
    Click(*dialog, IDC_BTN_MAKER_PAGE);
    EXPECT_EQ(openedUrls.size(), 3u);
    const QString noFolder =
        U("没有找到文件管理器，无法打开保存目录：\n") + QString::fromStdString(home + "/剪切");
    EXPECT_EQ(messages, (QStringList{noFolder, U("剪切完成!"), noFolder,
                                     U("没有找到网页浏览器，无法打开网页：\n") +
                                         QString::fromLatin1(kMakerPageAddress)}));
}
