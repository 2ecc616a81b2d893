// The cut command: its checks in their order, the segment it takes, the fades and factors
// it hands to the job, and the progress timer up to "剪切完成!".
#include "ControlIds.h"
#include "CutWindowTest.h"
#include "Mp3Check.h"

#include <QAbstractButton>
#include <QSlider>
#include <filesystem>

TEST_F(CutWindowTest, ChecksRunInTheirOrderAndEachStartsNothing) {
    auto dialog = MakeDialog();
    Click(*dialog, IDC_BTN_START_CUT); // no source, empty edits
    EXPECT_EQ(messages, QStringList{U("请选择mp3文件!")});
    ExpectNothingStarted(*dialog);

    dialog = DialogWithSong(8.0);
    struct Case {
        const char* start;
        const char* end;
        const char* message;
    };
    const Case cases[] = {
        {"", "", "请输入起始点！"},
        {"  ", "4", "请输入起始点！"}, // white space only
        {"5", "", "请输入结束点！"},
        {"5", "5", "剪切的终点必须大于起点!"},
        {"5", "4", "剪切的终点必须大于起点!"},
        {"1", "1.001", "剪切的终点必须大于起点!"}, // 1000.9999... - 1000 truncates to 0
    };
    for (const Case& c : cases) {
        messages.clear();
        dialog->SetDlgItemText(IDC_EDIT_START, U(c.start));
        dialog->SetDlgItemText(IDC_EDIT_END, U(c.end));
        Click(*dialog, IDC_BTN_START_CUT);
        EXPECT_EQ(messages, QStringList{U(c.message)}) << c.start << " " << c.end;
        ExpectNothingStarted(*dialog);
    }
}

TEST_F(CutWindowTest, RunningCutRefusesASecondCommandAndFinishesUntouched) {
    auto dialog = DialogWithSong(30.0);
    TypeInto(*dialog, IDC_EDIT_END, "30");
    Click(*dialog, IDC_BTN_START_CUT);
    ASSERT_TRUE(dialog->clipJob.IsRunning());
    const std::string output = dialog->lastOutputPath;
    EXPECT_EQ(dialog->TimerInterval(kCutTimerId), 500);

    TypeInto(*dialog, IDC_EDIT_START, ""); // would be refused later on; the running check is first
    Click(*dialog, IDC_BTN_START_CUT);
    EXPECT_EQ(messages, QStringList{U("正在剪切中,请等待剪切完成!")});
    EXPECT_EQ(dialog->lastOutputPath, output);

    ASSERT_TRUE(FollowCut(*dialog));
    EXPECT_EQ(messages.last(), U("剪切完成!"));
    EXPECT_EQ(SavedFiles(*dialog).size(), 1u);
    const DecodedAudio audio = DecodeMp3File(output);
    EXPECT_GT(audio.Seconds(), 29.5);
}

TEST_F(CutWindowTest, WholeSourceTakesTheSliderRangeWithoutReadingTheEdits) {
    auto dialog = DialogWithSong(3.0, 2500);
    TypeInto(*dialog, IDC_EDIT_START, "");
    Click(*dialog, IDC_RADIO_WHOLE_SOURCE);
    // The window is told the timer is gone before the box opens; the bar empties after it.
    bool timerAtMessage = true;
    int barAtMessage = -1;
    SetMessageBoxFunction([&](QWidget*, const QString& text, MessageBoxKind) {
        messages << text;
        timerAtMessage = dialog->IsTimerRunning(kCutTimerId);
        barAtMessage = Bar(*dialog)->value();
        return IDOK;
    });
    Click(*dialog, IDC_BTN_START_CUT);
    EXPECT_EQ(dialog->clipJob.GetRangeStartMs(), 0);
    EXPECT_EQ(dialog->clipJob.GetRangeEndMs(), 2500);
    ASSERT_TRUE(FollowCut(*dialog));
    EXPECT_EQ(messages, QStringList{U("剪切完成!")});
    EXPECT_FALSE(timerAtMessage);
    EXPECT_EQ(barAtMessage, 100);
    EXPECT_EQ(Bar(*dialog)->value(), 0);
    // The output is named in edit 1037 and kept for "打开保存目录".
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_OUTPUT).toStdString(), dialog->lastOutputPath);
    EXPECT_EQ(SavedFiles(*dialog),
              std::vector<std::string>{std::filesystem::path(dialog->lastOutputPath).filename()});
}

TEST_F(CutWindowTest, OneMillisecondIsACut) {
    auto dialog = DialogWithSong(8.0);
    CutRange(*dialog, "5", "5.001");
    EXPECT_EQ(messages, QStringList{U("剪切完成!")});
    EXPECT_EQ(dialog->clipJob.GetRangeStartMs(), 5000);
    EXPECT_EQ(dialog->clipJob.GetRangeEndMs(), 5001);
    EXPECT_TRUE(DecodeMp3File(dialog->lastOutputPath).ok);
}

TEST_F(CutWindowTest, FadeTextsAreWholeSecondsAndTheFadeOutMustFitTheRange) {
    auto dialog = DialogWithSong(7.0);
    const double full = Rms(DecodeMp3File(song), 1.0, 3.0);
    struct Case {
        int box;
        const char* seconds;
        double from, to;  // where the output is measured
        double low, high; // its level against the source's
    };
    const Case cases[] = {
        {IDC_CHECK_FADE_IN, "2.9", 0.3, 0.8, 0.05, 0.45}, // 2 s: rising
        {IDC_CHECK_FADE_IN, "2.9", 2.3, 2.8, 0.97, 1.03}, // 2 s: done (2.9 s would not be)
        {IDC_CHECK_FADE_IN, "abc", 0.1, 0.5, 0.97, 1.03}, // 0 s: switched on, no fade
        {IDC_CHECK_FADE_OUT, "5", 4.0, 4.6, 0.0, 0.3},    // the whole range fades out
        {IDC_CHECK_FADE_OUT, "5", 0.2, 0.6, 0.8, 1.0},
        {IDC_CHECK_FADE_OUT, "6", 4.0, 4.6, 0.97, 1.03}, // longer than the range: none
    };
    for (const Case& c : cases) {
        messages.clear();
        auto* box = qobject_cast<QAbstractButton*>(dialog->GetDlgItem(c.box));
        box->setChecked(false);
        Click(*dialog, c.box);
        TypeInto(*dialog, c.box == IDC_CHECK_FADE_IN ? IDC_EDIT_FADE_IN : IDC_EDIT_FADE_OUT,
                 U(c.seconds));
        CutRange(*dialog, "1", "6");
        ASSERT_EQ(messages, QStringList{U("剪切完成!")});
        const double level = Rms(DecodeMp3File(dialog->lastOutputPath), c.from, c.to) / full;
        EXPECT_GE(level, c.low) << c.seconds << " at " << c.from;
        EXPECT_LE(level, c.high) << c.seconds << " at " << c.from;
        Click(*dialog, c.box); // off again
    }
}

TEST_F(CutWindowTest, CutTakesTheFactorsTheEditsShow) {
    auto dialog = DialogWithSong(3.0);
    auto* speed = qobject_cast<QSlider*>(dialog->GetDlgItem(IDC_SLIDER_SPEED));
    speed->setFocus();
    PressKey(*dialog, speed, Qt::Key_Up); // a key moves the factor as a step does
    ASSERT_EQ(dialog->GetDlgItemText(IDC_EDIT_SPEED), "1.01");
    CutRange(*dialog, "0", "2");
    EXPECT_FLOAT_EQ(dialog->clipJob.GetStage().GetTempoChange(), 1.0f);
    EXPECT_EQ(dialog->clipJob.GetStage().GetPitch(), 1.0f);

    // A step goes from where the thumb is; the cut gets what the edits then show.
    Click(*dialog, IDC_BTN_SPEED_MINUS);
    Click(*dialog, IDC_BTN_SPEED_MINUS);
    Click(*dialog, IDC_BTN_PITCH_MINUS);
    ASSERT_EQ(dialog->GetDlgItemText(IDC_EDIT_SPEED), "0.99");
    CutRange(*dialog, "0", "2");
    EXPECT_FLOAT_EQ(dialog->clipJob.GetStage().GetTempoChange(), -1.0f);
    EXPECT_EQ(dialog->clipJob.GetStage().GetPitch(), 0.99f);
    EXPECT_EQ(messages, QStringList(2, U("剪切完成!")));
}
