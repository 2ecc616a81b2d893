// Marking the segment: start and end from the play position or typed, the two length
// modes, and the length label, slider marks and player seeks that follow every change.
#include "CMySliderControl.h"
#include "ControlIds.h"
#include "WindowActions.h"

#include <QLineEdit>

namespace {

constexpr int kSongMs = 125000;

QString U(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

class SegmentTest : public WindowTest {
protected:
    // A dialog with a 125 s source open in the fake player, the log cleared.
    std::unique_ptr<CTesmiraDlg> OpenedDialog(int lengthMs = kSongMs) {
        auto dialog = MakeDialog();
        fake.Configure(1, lengthMs);
        dialog->OnDropFiles({"/m/song.mp3"});
        fake.SetPosition(0);
        messages.clear();
        return dialog;
    }
    QString Label(const CTesmiraDlg& dialog) const {
        return dialog.GetDlgItemText(IDC_STATIC_LENGTH);
    }
    QStringList Seeks() const { return fake.CallsOf({"SetPos"}); }
};

TEST_F(SegmentTest, StartAndEndComeFromThePlayPosition) {
    auto dialog = OpenedDialog();
    fake.SetPosition(12345);
    Click(*dialog, IDC_BTN_SET_START);
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_START), "12.345");
    EXPECT_EQ(PositionSlider(*dialog)->value(), 12345);
    EXPECT_EQ(PositionSlider(*dialog)->startMark, 12345);
    EXPECT_EQ(Seeks().last(), "SetPos 12345");

    fake.SetPosition(95801);
    Click(*dialog, IDC_BTN_SET_END);
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_END), "95.801");
    EXPECT_EQ(PositionSlider(*dialog)->endMark, 95801);
    EXPECT_EQ(PositionSlider(*dialog)->startMark, 12345);
    EXPECT_EQ(Label(*dialog), U("剪切长度:01:23(83.46秒)"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SegmentTest, SetButtonsRefuseWithoutSourceOrStartOrWithAnEndNotAfterTheStart) {
    auto dialog = MakeDialog();
    fake.Configure(1, kSongMs);
    Click(*dialog, IDC_BTN_SET_START);
    Click(*dialog, IDC_BTN_SET_END);
    EXPECT_EQ(messages, QStringList({U("请选择mp3文件!"), U("请选择mp3文件!")}));

    dialog = OpenedDialog();
    TypeInto(*dialog, IDC_EDIT_START, "");
    fake.SetPosition(5000);
    Click(*dialog, IDC_BTN_SET_END);
    EXPECT_EQ(messages, QStringList{U("请先设置起点!")});
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_END), "");

    // Exactly at the start point: the length is 0.
    messages.clear();
    TypeInto(*dialog, IDC_EDIT_START, "5");
    TypeInto(*dialog, IDC_EDIT_END, "9");
    const QString label = Label(*dialog);
    Click(*dialog, IDC_BTN_SET_END);
    EXPECT_EQ(messages, QStringList{U("剪切的终点必须大于起点!")});
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_END), "9");
    EXPECT_EQ(Label(*dialog), label);
    EXPECT_EQ(PositionSlider(*dialog)->endMark, 9000);
}

TEST_F(SegmentTest, TypedTimesSeekTheSliderAndThePlayerAndSetTheMarks) {
    auto dialog = OpenedDialog();
    const struct {
        int edit;
        const char* text;
        int mark;         // -1: no mark
        const char* seek; // the last seek after it (nullptr: none to this text)
    } rows[] = {
        {IDC_EDIT_START, "12.5", 12500, "SetPos 12500"},
        {IDC_EDIT_START, "1:02.5", 62500, "SetPos 62500"},
        {IDC_EDIT_START, "abc", -1, nullptr}, // no time: no mark
        {IDC_EDIT_END, "-7", -1, nullptr},
        {IDC_EDIT_END, "1:", -1, nullptr}, // half typed: the "1" before leaves no mark
        {IDC_EDIT_START, "125", kSongMs, "SetPos 125000"}, // the source's length itself
        {IDC_EDIT_END, "200", kSongMs, nullptr},           // past the end: the mark at the end
    };
    for (const auto& row : rows) {
        TypeInto(*dialog, row.edit, row.text);
        const int mark = row.edit == IDC_EDIT_START ? PositionSlider(*dialog)->startMark
                                                    : PositionSlider(*dialog)->endMark;
        EXPECT_EQ(mark, row.mark) << row.text;
        if (row.seek != nullptr) {
            EXPECT_EQ(Seeks().last(), row.seek) << row.text;
        }
        EXPECT_EQ(dialog->GetDlgItemText(row.edit), row.text); // the typed text stays
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SegmentTest, LengthLabelShowsWhatTheCutWouldCutOrThatTheRangeIsInvalid) {
    auto dialog = OpenedDialog(5 * 3600 * 1000);
    EXPECT_EQ(Label(*dialog), U("剪切长度：00:00(0秒)")) << "no end yet";
    const char* const invalid = "剪切长度:范围无效";
    const struct {
        const char* start;
        const char* end;
        const char* label;
    } rows[] = {
        {"0", "83.456", "剪切长度:01:23(83.46秒)"},
        {"0", "0.999", "剪切长度:00:00(1.00秒)"},
        {"0", "3725", "剪切长度:1:02:05(3725.00秒)"}, // an hour and more gets its own field
        {"10.5", "3725", "剪切长度:1:01:54(3714.50秒)"},
        {"17990", "20000", "剪切长度:00:10(10.00秒)，至歌曲结尾"}, // cut short at the end
        {"10.5", "10.5", invalid},
        {"20", "10", invalid},
        {"-1", "10", "剪切长度:起始点不是有效的时间"},
        {"1:30", "2:00", "剪切长度:00:30(30.00秒)"},
        {"1:30", "2:0", "剪切长度:结束点不是有效的时间"},
        {"4:59:50", "5:00:00.5", "剪切长度:00:10(10.00秒)，至歌曲结尾"},
        {"18000", "18001", invalid},
        {"5", "", "剪切长度：00:00(0秒)"},
    };
    for (const auto& row : rows) {
        TypeInto(*dialog, IDC_EDIT_START, row.start);
        TypeInto(*dialog, IDC_EDIT_END, row.end);
        EXPECT_EQ(Label(*dialog), U(row.label)) << row.start << " to " << row.end;
    }
}

TEST_F(SegmentTest, WholeSourceModeDropsTheMarksAndCustomRangeRestoresThemFromTheTexts) {
    auto dialog = OpenedDialog();
    TypeInto(*dialog, IDC_EDIT_START, "10");
    TypeInto(*dialog, IDC_EDIT_END, "20");
    TypeInto(*dialog, IDC_EDIT_END, "200"); // beyond the source: marked at its end

    Click(*dialog, IDC_RADIO_WHOLE_SOURCE);
    EXPECT_EQ(PositionSlider(*dialog)->startMark, -1);
    EXPECT_EQ(PositionSlider(*dialog)->endMark, -1);
    EXPECT_EQ(Label(*dialog), U("剪切长度:02:05(125.00秒)"));
    auto* start = qobject_cast<QLineEdit*>(dialog->GetDlgItem(IDC_EDIT_START));
    auto* end = qobject_cast<QLineEdit*>(dialog->GetDlgItem(IDC_EDIT_END));
    EXPECT_TRUE(start->isReadOnly());
    EXPECT_TRUE(end->isReadOnly());

    // The buttons still write into the read-only edits.
    fake.SetPosition(30000);
    Click(*dialog, IDC_BTN_SET_START);
    EXPECT_EQ(start->text(), "30.000");

    Click(*dialog, IDC_RADIO_CUSTOM_RANGE);
    EXPECT_FALSE(start->isReadOnly());
    EXPECT_FALSE(end->isReadOnly());
    EXPECT_EQ(PositionSlider(*dialog)->startMark, 30000);
    EXPECT_EQ(PositionSlider(*dialog)->endMark, kSongMs);
    EXPECT_EQ(Label(*dialog), U("剪切长度:01:35(95.00秒)，至歌曲结尾")); // what a cut would take
    EXPECT_TRUE(messages.isEmpty());
}
