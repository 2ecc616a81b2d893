#pragma once
// A main window made for a test: settings in a temporary folder, the fake player, and every
// seam (message boxes, file pickers, file manager, process end) answered by the test.
#include "CMySliderControl.h"
#include "CTesmiraDlg.h"
#include "FakePlayer.h"
#include "MessageBox.h"
#include "TempDir.h"

#include <QStringList>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// The dialog's control of class T by the object name its template gives it.
template <typename T> T* Control(const CTesmiraDlg& dialog, const char* name) {
    T* control = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

inline CMySliderControl* PositionSlider(const CTesmiraDlg& dialog) {
    return Control<CMySliderControl>(dialog, "IDC_SLIDER_POSITION");
}

class WindowTest : public testing::Test {
protected:
    WindowTest();
    ~WindowTest() override;

    // A created (not shown) dialog that loads the player library at playerPath.
    std::unique_ptr<CTesmiraDlg> MakeDialog(const std::string& playerPath = FAKE_PLAYER_PATH,
                                            const std::string& encoderPath = {});
    void Click(CTesmiraDlg& dialog, int id);
    // A generated MP3 of the given length in the temporary folder.
    std::string MakeSong(const std::string& name, double seconds);

    TempDir dir;
    std::string exeFolder; // where Set.ini goes
    std::string home;
    FakePlayer fake;

    QStringList messages; // texts of every message box, in order
    std::vector<MessageBoxKind> kinds;
    std::vector<bool> owned; // whether each box had an owner window
    int exitAnswer = IDNO;   // the answer to the exit question
    std::vector<int> exitCodes;

    QString openFileAnswer; // what the open-file dialog returns ("" = cancelled)
    QStringList openFileFilters;
    QString folderAnswer; // what the folder browser returns
    QStringList folderTitles;
    QStringList folderStarts;            // the folder each browser started in
    std::vector<QStringList> shownItems; // file manager ShowItems calls
    std::vector<QUrl> openedUrls;
};
