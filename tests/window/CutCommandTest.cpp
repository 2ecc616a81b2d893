// The cut command: its checks in their order, the segment it takes, the fades and factors
// it hands to the job, and the progress timer up to "剪切完成!".
#include "ControlIds.h"
#include "CutWindowTest.h"
#include "Mp3Check.h"

#include <QAbstractButton>
#include <QSlider>
#include <filesystem>
#include <sched.h>
#include <set>
#include <sys/resource.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <thread>

namespace {

// The length the output's tag gives, in milliseconds: the range over the speed.
std::string TaggedLength(const std::string& path) {
    TagLib::MPEG::File file(path.c_str(), false);
    const auto frames =
        file.hasID3v2Tag() ? file.ID3v2Tag()->frameListMap()["TLEN"] : TagLib::ID3v2::FrameList();
    return frames.isEmpty() ? "" : frames.front()->toString().to8Bit();
}

} // namespace

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
        {"1:30", "abc", "结束点“abc”不是有效的时间。"},
        {"1:75", "2:00", "起始点“1:75”不是有效的时间。"},
        {"1:30x", "2:00", "起始点“1:30x”不是有效的时间。"},
    };
    for (const Case& c : cases) {
        messages.clear();
        dialog->SetDlgItemText(IDC_EDIT_START, U(c.start));
        dialog->SetDlgItemText(IDC_EDIT_END, U(c.end));
        Click(*dialog, IDC_BTN_START_CUT);
        ASSERT_EQ(messages.size(), 1) << c.start << " " << c.end;
        EXPECT_EQ(messages[0].section('\n', 0, 0), U(c.message)) << c.start << " " << c.end;
        ExpectNothingStarted(*dialog);
    }
}

TEST_F(CutWindowTest, RunningCutRefusesASecondCommandAndFinishesUntouched) {
    auto dialog = DialogWithSong(30.0);
    TypeInto(*dialog, IDC_EDIT_END, "30");
    Click(*dialog, IDC_BTN_START_CUT);
    ASSERT_TRUE(dialog->IsTimerRunning(kCutTimerId));
    const std::string output = Output(*dialog);
    EXPECT_EQ(dialog->TimerInterval(kCutTimerId), 500);

    TypeInto(*dialog, IDC_EDIT_START, ""); // would be refused later on; the running check is first
    Click(*dialog, IDC_BTN_START_CUT);
    EXPECT_EQ(messages, QStringList{U("正在剪切中,请等待剪切完成!")});
    EXPECT_EQ(Output(*dialog), output);

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
    ASSERT_TRUE(FollowCut(*dialog));
    EXPECT_EQ(messages, QStringList{U("剪切完成!")});
    EXPECT_FALSE(timerAtMessage);
    EXPECT_EQ(barAtMessage, 100);
    EXPECT_EQ(Bar(*dialog)->value(), 0);
    EXPECT_EQ(TaggedLength(Output(*dialog)), "2500");
    // The output is named in edit 1037, in the save folder.
    // The field shows the whole file name, the folder shortened with "…" where it must be; the
    // tool tip the full path.
    const QString shown = dialog->GetDlgItemText(IDC_EDIT_OUTPUT);
    const std::string output = Output(*dialog);
    const QString name = QString::fromStdString(std::filesystem::path(output).filename());
    EXPECT_TRUE(shown.endsWith(QLatin1Char('/') + name)) << shown.toStdString();
    EXPECT_LE(dialog->GetDlgItem(IDC_EDIT_OUTPUT)->fontMetrics().horizontalAdvance(shown),
              dialog->GetDlgItem(IDC_EDIT_OUTPUT)->width());
    EXPECT_EQ(std::filesystem::path(output).parent_path(),
              dialog->GetDlgItemText(IDC_EDIT_SAVE_FOLDER).toStdString());
    EXPECT_EQ(SavedFiles(*dialog), std::vector<std::string>{name.toStdString()});
}

TEST_F(CutWindowTest, CutThreadsRunAtTheLowestPriorityAndTheWindowAtItsOwn) {
    auto dialog = DialogWithSong(60.0);
    Click(*dialog, IDC_RADIO_WHOLE_SOURCE);
    const std::set<std::string> before = ThreadIds();
    Click(*dialog, IDC_BTN_START_CUT);
    // The worker, its helper and their two encoder streams, read back from the system once
    // the worker is at work (it lowers itself first thing).
    std::set<std::string> seen;
    while (dialog->IsTimerRunning(kCutTimerId) && seen.size() < 4) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        dialog->FireTimer(kCutTimerId);
        if (Bar(*dialog)->value() <= 0) {
            continue;
        }
        for (const std::string& id : ThreadIds()) {
            const pid_t tid = std::stoi(id);
            errno = 0;
            const int policy = sched_getscheduler(tid);
            const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(tid));
            if (before.count(id) != 0 || policy < 0 || errno != 0) {
                continue; // not the cut's, or already gone
            }
            EXPECT_EQ(policy, SCHED_IDLE) << id;
            EXPECT_EQ(nice, 19) << id;
            seen.insert(id);
        }
    }
    EXPECT_EQ(seen.size(), 4u);
    EXPECT_EQ(sched_getscheduler(0), SCHED_OTHER);
    EXPECT_EQ(getpriority(PRIO_PROCESS, 0), 0);
    ASSERT_TRUE(FollowCut(*dialog));
    EXPECT_EQ(messages, QStringList{U("剪切完成!")});
}

TEST_F(CutWindowTest, OneMillisecondIsACut) {
    auto dialog = DialogWithSong(8.0);
    CutRange(*dialog, "5", "5.001");
    EXPECT_EQ(messages, QStringList{U("剪切完成!")});
    EXPECT_EQ(TaggedLength(Output(*dialog)), "1");
    EXPECT_TRUE(DecodeMp3File(Output(*dialog)).ok);
}

TEST_F(CutWindowTest, FadesTakeTimesAndAreFittedIntoTheCut) {
    auto dialog = DialogWithSong(7.0);
    const double full = Rms(DecodeMp3File(song), 1.0, 3.0);
    struct Case {
        const char* in; // fade texts; nullptr: box not ticked
        const char* out;
        double from, to;  // where the output is measured
        double low, high; // its level against the source's
    };
    const Case cases[] = {
        {"2.5", nullptr, 0.3, 0.8, 0.05, 0.4},   // 2.5 s: rising
        {"2.5", nullptr, 2.6, 3.0, 0.97, 1.03},  // and done
        {"0:06", nullptr, 4.3, 4.8, 0.75, 0.97}, // longer than the cut: ends at its end
        {nullptr, "6", 4.0, 4.6, 0.0, 0.3},      // shortened to the cut, not dropped
        {nullptr, "6", 0.1, 0.5, 0.9, 1.0},
        {"15", "15", 0.2, 0.6, 0.05, 0.3}, // the defaults: 2.5 s each, in proportion
        {"15", "15", 2.3, 2.7, 0.85, 1.03},
        {"15", "15", 4.3, 4.8, 0.0, 0.2},
    };
    const auto set = [&](int box, int edit, const char* text) {
        qobject_cast<QAbstractButton*>(dialog->GetDlgItem(box))->setChecked(text != nullptr);
        TypeInto(*dialog, edit, U(text != nullptr ? text : "15"));
    };
    for (const Case& c : cases) {
        messages.clear();
        set(IDC_CHECK_FADE_IN, IDC_EDIT_FADE_IN, c.in);
        set(IDC_CHECK_FADE_OUT, IDC_EDIT_FADE_OUT, c.out);
        CutRange(*dialog, "1", "6");
        ASSERT_EQ(messages, QStringList{U("剪切完成!")});
        const DecodedAudio audio = DecodeMp3File(Output(*dialog));
        const double level = Rms(audio, c.from, c.to) / full;
        EXPECT_GE(level, c.low) << c.in << "/" << c.out << " at " << c.from;
        EXPECT_LE(level, c.high) << c.in << "/" << c.out << " at " << c.from;
        if (c.out != nullptr) { // a fade-out ends in silence
            EXPECT_EQ(audio.pcm.back(), 0) << c.out;
        }
    }
    // The label tells what was shortened; a fade that is no time is refused, naming the field.
    EXPECT_EQ(dialog->GetDlgItemText(IDC_STATIC_LENGTH),
              U("剪切长度:00:05(5.00秒)\n淡入淡出已缩短为 2.50 秒和 2.50 秒"));
    messages.clear();
    set(IDC_CHECK_FADE_OUT, IDC_EDIT_FADE_OUT, "1:75");
    Click(*dialog, IDC_BTN_START_CUT);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(U("淡出时间“1:75”不是有效的时间")))
        << messages[0].toStdString();
    EXPECT_FALSE(dialog->IsTimerRunning(kCutTimerId));
}

TEST_F(CutWindowTest, CutTakesTheFactorsTheEditsShow) {
    auto dialog = DialogWithSong(3.0); // a steady 1000 Hz
    auto* speed = qobject_cast<QSlider*>(dialog->GetDlgItem(IDC_SLIDER_SPEED));
    speed->setFocus();
    PressKey(*dialog, speed, Qt::Key_Up); // a key moves the factor as a step does
    ASSERT_EQ(dialog->GetDlgItemText(IDC_EDIT_SPEED), "1.01");
    CutRange(*dialog, "0", "2");
    EXPECT_EQ(TaggedLength(Output(*dialog)), "1980"); // 2000 ms at 1.01
    EXPECT_NEAR(EstimateFrequency(DecodeMp3File(Output(*dialog)), 0.2, 1.8), 1000.0, 2.0);

    // A step goes from where the thumb is; the cut gets what the edits then show.
    Click(*dialog, IDC_BTN_SPEED_MINUS);
    Click(*dialog, IDC_BTN_SPEED_MINUS);
    Click(*dialog, IDC_BTN_PITCH_MINUS);
    ASSERT_EQ(dialog->GetDlgItemText(IDC_EDIT_SPEED), "0.99");
    CutRange(*dialog, "0", "2");
    EXPECT_EQ(TaggedLength(Output(*dialog)), "2020");
    EXPECT_NEAR(EstimateFrequency(DecodeMp3File(Output(*dialog)), 0.2, 1.8), 990.0, 2.0);
    EXPECT_EQ(messages, QStringList(2, U("剪切完成!")));
}
