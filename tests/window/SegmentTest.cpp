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
    std::unique_ptr<TestDlg> OpenedDialog(int lengthMs = kSongMs) {
        auto dialog = MakeDialog();
        fake.Configure(1, lengthMs);
        dialog->OnDropFiles({"/m/song.mp3"});
        fake.SetPosition(0);
        messages.clear();
        return dialog;
    }
    QString Label(const TestDlg& dialog) const { return dialog.GetDlgItemText(IDC_STATIC_LENGTH); }
    QStringList Seeks() const { return fake.CallsOf({"SetPos"}); }
};

TEST_F(SegmentTest, StartAndEndComeFromThePlayPosition) {
    auto dialog = OpenedDialog();
    fake.SetPosition(12345);
    Click(*dialog, IDC_BTN_SET_START);
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_START), "12.345");
    EXPECT_EQ(dialog->positionSlider->value(), 12345);
    EXPECT_EQ(dialog->positionSlider->startMark, 12345);
    EXPECT_EQ(Seeks().last(), "SetPos 12345");

    fake.SetPosition(95801);
    Click(*dialog, IDC_BTN_SET_END);
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_END), "95.801");
    EXPECT_EQ(dialog->positionSlider->endMark, 95801);
    EXPECT_EQ(dialog->positionSlider->startMark, 12345);
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
    EXPECT_EQ(dialog->positionSlider->endMark, 9000);
}

TEST_F(SegmentTest, TypedTimesSeekTheSliderAndThePlayerAndSetTheMarks) {
    auto dialog = OpenedDialog();
    TypeInto(*dialog, IDC_EDIT_START, "12.5");
    EXPECT_EQ(dialog->positionSlider->value(), 12500);
    EXPECT_EQ(dialog->positionSlider->startMark, 12500);
    EXPECT_EQ(Seeks().last(), "SetPos 12500");

    TypeInto(*dialog, IDC_EDIT_START, "abc"); // no number: 0 seconds
    EXPECT_EQ(Seeks().last(), "SetPos 0");
    EXPECT_EQ(dialog->positionSlider->startMark, 0);

    TypeInto(*dialog, IDC_EDIT_END, "-7"); // negative: the slider goes to 0
    EXPECT_EQ(dialog->positionSlider->endMark, 0);
    EXPECT_EQ(dialog->positionSlider->value(), 0);

    // The source's length itself is accepted, a millisecond more moves nothing.
    TypeInto(*dialog, IDC_EDIT_START, "125");
    EXPECT_EQ(dialog->positionSlider->startMark, kSongMs);
    EXPECT_EQ(Seeks().last(), "SetPos 125000");
    const int seeks = static_cast<int>(Seeks().size());
    dialog->SetDlgItemText(IDC_EDIT_START, "125.001"); // one change, not one per key
    EXPECT_EQ(dialog->positionSlider->startMark, kSongMs);
    EXPECT_EQ(static_cast<int>(Seeks().size()), seeks);
    EXPECT_EQ(dialog->GetDlgItemText(IDC_EDIT_START), "125.001"); // the typed text stays
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
        {"17990", "20000", "剪切长度:00:10(10.00秒)"}, // the end cut short at the source's end
        {"10.5", "10.5", invalid},
        {"20", "10", invalid},
        {"-1", "10", invalid},
        {"-1e9", "10", invalid}, // no 596-hour length from an overflow
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
    TypeInto(*dialog, IDC_EDIT_END, "200"); // beyond the source: ignored by the edit rules

    Click(*dialog, IDC_RADIO_WHOLE_SOURCE);
    EXPECT_EQ(dialog->positionSlider->startMark, -1);
    EXPECT_EQ(dialog->positionSlider->endMark, -1);
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
    EXPECT_EQ(dialog->positionSlider->startMark, 30000);
    EXPECT_EQ(dialog->positionSlider->endMark, 200000);      // taken from the text, not clamped
    EXPECT_EQ(Label(*dialog), U("剪切长度:01:35(95.00秒)")); // what a cut would take
    EXPECT_TRUE(messages.isEmpty());
}
