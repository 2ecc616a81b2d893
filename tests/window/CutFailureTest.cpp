// A cut that cannot start, or ends without finishing: the user is told what failed, no
// file is left behind, and the window stops following the job.
#include "ControlIds.h"
#include "CutWindowTest.h"
#include "FileSizeLimit.h"

#include <filesystem>

TEST_F(CutWindowTest, VanishedSourceIsReportedAndKeepsTheLastOutput) {
    auto dialog = DialogWithSong(4.0);
    CutRange(*dialog, "0", "1");
    const QString previous = QString::fromStdString(Output(*dialog));
    ASSERT_EQ(SavedFiles(*dialog).size(), 1u);

    std::filesystem::remove(song);
    messages.clear();
    Click(*dialog, IDC_BTN_START_CUT);
    EXPECT_EQ(messages, QStringList{U("源文件打开失败!")});
    EXPECT_FALSE(dialog->IsTimerRunning(kCutTimerId));
    EXPECT_EQ(SavedFiles(*dialog).size(), 1u);
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_OUTPUT), "") << "no file of the failed cut";
    Click(*dialog, IDC_BTN_OPEN_SAVE_FOLDER); // still shows the file of the last cut
    EXPECT_EQ(shownItems, std::vector<QStringList>{
                              {QUrl::fromLocalFile(previous).toString(QUrl::FullyEncoded)}});
}

TEST_F(CutWindowTest, MissingSaveFolderIsReportedAndNothingIsCreated) {
    auto dialog = DialogWithSong(4.0);
    const std::string folder = dialog->GetDlgItemText(IDC_EDIT_SAVE_FOLDER).toStdString();
    std::filesystem::remove_all(folder);
    TypeInto(*dialog, IDC_EDIT_END, "2");
    Click(*dialog, IDC_BTN_START_CUT);
    EXPECT_EQ(messages, QStringList{U("无法创建输出文件!")});
    EXPECT_FALSE(std::filesystem::exists(folder));
    ExpectNothingStarted(*dialog);
}

TEST_F(CutWindowTest, RangeBeyondTheSourceIsReportedAndItsFileRemoved) {
    // The player says 125 s, the file holds 3 s.
    auto dialog = DialogWithSong(3.0, 125000);
    TypeInto(*dialog, IDC_EDIT_START, "10");
    TypeInto(*dialog, IDC_EDIT_END, "20");
    Click(*dialog, IDC_BTN_START_CUT);
    EXPECT_EQ(messages, QStringList{U("剪切范围无效!")});
    ExpectNothingStarted(*dialog);
}

TEST_F(CutWindowTest, EncoderLibraryLoadErrorsAreShownAsTheyAre) {
    const std::pair<std::string, QString> cases[] = {
        {dir.File("nowhere/libencmp3.so"), "Error loading encmp3.DLL"},
        {FAKE_PLAYER_PATH, "Unable to get LAME interfaces"}, // loads, but holds no encoder
    };
    for (const auto& [library, message] : cases) {
        auto dialog = DialogWithSong(3.0, -1, library);
        TypeInto(*dialog, IDC_EDIT_END, "2");
        Click(*dialog, IDC_BTN_START_CUT);
        ASSERT_EQ(messages, QStringList{message});
        EXPECT_FALSE(owned.back());
        ExpectNothingStarted(*dialog);
    }
}

TEST_F(CutWindowTest, WriteErrorEndsTheCutWithAFailureAndNoFile) {
    auto dialog = DialogWithSong(10.0);
    TypeInto(*dialog, IDC_EDIT_END, "10");
    {
        FileSizeLimit full(64 * 1024); // the cut would be about 400 kB
        Click(*dialog, IDC_BTN_START_CUT);
        ASSERT_TRUE(dialog->IsTimerRunning(kCutTimerId));
        ASSERT_TRUE(FollowCut(*dialog));
    }
    EXPECT_EQ(messages, QStringList{U("剪切失败: 写入输出文件出错!")});
    EXPECT_EQ(Bar(*dialog)->value(), 0);
    EXPECT_TRUE(SavedFiles(*dialog).empty());
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_OUTPUT), "");
}
