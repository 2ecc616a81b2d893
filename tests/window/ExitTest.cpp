// Leaving the program: the exit question from every way out, Enter doing nothing, and a
// running cut stopped before the process ends.
#include "ControlIds.h"
#include "ProcessExit.h"
#include "WindowActions.h"
#include "WindowFixture.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <sched.h>

namespace {

const QString kExitQuestion = QString::fromUtf8("是否退出Tesmira？");

// The cut's threads: the process's threads at the lowest priority.
std::vector<std::string> CutThreads() {
    std::vector<std::string> idle;
    for (const std::string& id : ThreadIds()) {
        if (sched_getscheduler(std::stoi(id)) == SCHED_IDLE) {
            idle.push_back(id);
        }
    }
    return idle;
}

} // namespace

class ExitTest : public WindowTest {
protected:
    // A shown window with a source (timer 1) and a cut started by "开始剪切" that keeps
    // running (the cut timer).
    std::unique_ptr<CTesmiraDlg> BusyDialog() {
        auto dialog = MakeDialog();
        fake.Configure(1, 60000);
        const std::string song = MakeSong("long.mp3", 60.0);
        dialog->OnDropFiles({QString::fromStdString(song)});
        dialog->show();
        TypeInto(*dialog, IDC_EDIT_START, "0");
        TypeInto(*dialog, IDC_EDIT_END, "60");
        Click(*dialog, IDC_BTN_START_CUT);
        EXPECT_TRUE(dialog->IsTimerRunning(kCutTimerId));
        return dialog;
    }
    std::vector<std::string> Saved() const { return FilesIn(home + "/剪切"); }
};

TEST_F(ExitTest, NoKeepsTheWindowTheTimersAndTheCut) {
    auto dialog = BusyDialog();
    exitAnswer = IDNO;
    Click(*dialog, IDCANCEL);                      // "退出"
    QTest::keyClick(dialog.get(), Qt::Key_Escape); // Esc
    dialog->close();                               // the close box
    EXPECT_EQ(messages, QStringList({kExitQuestion, kExitQuestion, kExitQuestion}));
    for (MessageBoxKind kind : kinds) {
        EXPECT_EQ(kind, MessageBoxKind::ExitQuestion);
    }
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->IsTimerRunning(kPlaybackTimerId));
    EXPECT_TRUE(dialog->IsTimerRunning(kCutTimerId));
    EXPECT_TRUE(exitCodes.empty());
    ASSERT_TRUE(FollowCut(*dialog)); // the cut goes on to its end
    EXPECT_EQ(messages.last(), QString::fromUtf8("剪切完成!"));
}

TEST_F(ExitTest, YesStopsTheCutKillsTheTimersAndEndsTheProcess) {
    auto dialog = BusyDialog();
    exitAnswer = IDYES;
    std::vector<std::string> cutThreadsAtExit;
    bool timersAtExit = true;
    std::vector<std::string> savedAtExit;
    SetEndProcessFunction([&](int code) {
        exitCodes.push_back(code);
        cutThreadsAtExit = CutThreads();
        timersAtExit =
            dialog->IsTimerRunning(kPlaybackTimerId) || dialog->IsTimerRunning(kCutTimerId);
        savedAtExit = Saved();
    });
    // The cut is under way, written into a hidden temporary file.
    auto* bar = Control<QProgressBar>(*dialog, "IDC_PROGRESS_CUT");
    ASSERT_TRUE(QTest::qWaitFor([bar] { return bar->value() > 0; }, 30000));
    ASSERT_EQ(Saved().size(), 1u);
    ASSERT_FALSE(CutThreads().empty());
    EXPECT_EQ(Saved()[0][0], '.');
    Click(*dialog, IDCANCEL);
    EXPECT_EQ(messages, QStringList{kExitQuestion});
    EXPECT_EQ(exitCodes, std::vector<int>{0});
    EXPECT_TRUE(cutThreadsAtExit.empty()) << cutThreadsAtExit.size();
    EXPECT_FALSE(timersAtExit);
    // Nothing of the unfinished cut is left in the save folder.
    EXPECT_TRUE(savedAtExit.empty()) << savedAtExit.front();
    EXPECT_FALSE(dialog->isVisible()); // had the process lived on, the dialog ends
}

TEST_F(ExitTest, ExitBeforeAnySourceEndsAtOnce) {
    auto dialog = MakeDialog();
    exitAnswer = IDYES;
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(messages, QStringList{kExitQuestion});
    EXPECT_EQ(exitCodes, std::vector<int>{0});
}

TEST_F(ExitTest, EnterPressesOnlyTheFocusedButton) {
    auto dialog = MakeDialog();
    fake.Configure(1, 5000);
    dialog->show();
    openFileAnswer = "/m/a.mp3";
    for (int id : {IDC_EDIT_START, IDC_EDIT_FADE_IN, IDC_BTN_SELECT_SOURCE, IDCANCEL}) {
        QWidget* target = dialog->GetDlgItem(id);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        target->setFocus(); // an accepted song takes the focus to the position slider
        QTest::keyClick(target, Qt::Key_Enter);
    }
    dialog->accept(); // what the dialog manager makes of Enter elsewhere: OnOK, which does nothing
    // Twice each: the file dialog on its button, the exit question (answered No) on "退出".
    EXPECT_EQ(openFileFilters.size(), 2);
    EXPECT_EQ(messages, QStringList(2, kExitQuestion));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(exitCodes.empty());
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->isDefault() || button->autoDefault())
            << button->objectName().toStdString();
    }
}
