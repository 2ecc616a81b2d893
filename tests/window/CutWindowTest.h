#pragma once
// The main window set up for cutting: a generated song open in the fake player (the cut
// itself runs on the real engine and encoder library), and what the save folder holds.
#include "ControlIds.h"
#include "Mp3Gen.h"
#include "WindowActions.h"

#include <QProgressBar>
#include <string>
#include <vector>

class CutWindowTest : public WindowTest {
protected:
    // A dialog with a generated song of `seconds` open; the player reports playerLengthMs
    // (the song's length when negative); the encoder library comes from encoderPath (empty:
    // the one beside the test).
    std::unique_ptr<CTesmiraDlg> DialogWithSong(double seconds, int playerLengthMs = -1,
                                                const std::string& encoderPath = {}) {
        auto dialog = MakeDialog(FAKE_PLAYER_PATH, encoderPath);
        song = MakeSong("song.mp3", seconds);
        fake.Configure(1, playerLengthMs < 0 ? static_cast<int>(seconds * 1000) : playerLengthMs);
        dialog->OnDropFiles({QString::fromStdString(song)});
        messages.clear();
        return dialog;
    }
    // Writes bytes as the song `name` and picks it with "选择MP3文件".
    void PickSong(CTesmiraDlg& dialog, const std::string& name, const std::vector<uint8_t>& bytes) {
        song = dir.File(name);
        ASSERT_TRUE(mp3gen::WriteFileBytes(song, bytes));
        openFileAnswer = QString::fromStdString(song);
        Click(dialog, IDC_BTN_SELECT_SOURCE);
    }
    // Types the segment, presses "开始剪切" and follows the cut to its end.
    void CutRange(CTesmiraDlg& dialog, const QString& start, const QString& end) {
        TypeInto(dialog, IDC_EDIT_START, start);
        TypeInto(dialog, IDC_EDIT_END, end);
        Click(dialog, IDC_BTN_START_CUT);
        ASSERT_TRUE(FollowCut(dialog));
    }
    std::vector<std::string> SavedFiles(const CTesmiraDlg& dialog) const {
        return FilesIn(dialog.GetDlgItemText(IDC_EDIT_SAVE_FOLDER).toStdString());
    }
    // The file the output field names: its tool tip holds the full path.
    static std::string Output(const CTesmiraDlg& dialog) {
        return dialog.GetDlgItem(IDC_EDIT_OUTPUT)->toolTip().toStdString();
    }
    QProgressBar* Bar(const CTesmiraDlg& dialog) const {
        return qobject_cast<QProgressBar*>(dialog.GetDlgItem(IDC_PROGRESS_CUT));
    }
    // Nothing started and nothing written: what every refused cut command leaves.
    void ExpectNothingStarted(const CTesmiraDlg& dialog) {
        EXPECT_FALSE(dialog.IsTimerRunning(kCutTimerId));
        EXPECT_TRUE(SavedFiles(dialog).empty());
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_OUTPUT), "");
    }

    std::string song;
};

inline QString U(const char* text) {
    return QString::fromUtf8(text);
}
