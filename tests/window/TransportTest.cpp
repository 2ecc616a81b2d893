// Previewing: the transport buttons, seeking with the position slider, and the
// once-a-second tick that shows the position and rewinds at the end.
#include "CMySliderControl.h"
#include "CStaticCounter.h"
#include "CTMStatic.h"
#include "ControlIds.h"
#include "WindowActions.h"

namespace {

QString U(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

class TransportTest : public WindowTest {
protected:
    std::unique_ptr<TestDlg> OpenedDialog(int lengthMs) {
        auto dialog = MakeDialog();
        fake.Configure(1, lengthMs);
        dialog->OnDropFiles({"/m/song.mp3"});
        return dialog;
    }
    // One tick of the play-position timer at position ms; the player calls it made.
    QStringList TickAt(TestDlg& dialog, int ms) {
        fake.SetPosition(ms);
        const int before = static_cast<int>(fake.Calls().size());
        EXPECT_TRUE(dialog.FireTimer(kPlaybackTimerId));
        return fake.Calls().mid(before);
    }
};

TEST_F(TransportTest, ButtonsNeedASourceThenDriveThePlayer) {
    auto dialog = MakeDialog();
    fake.Configure(1, 5000);
    for (int id : {IDC_BTN_PLAY, IDC_BTN_PAUSE, IDC_BTN_STOP}) {
        Click(*dialog, id);
    }
    EXPECT_EQ(messages, QStringList(3, U("请选择mp3文件!")));
    EXPECT_TRUE(fake.CallsOf({"Play", "Pause", "Stop"}).isEmpty());

    dialog->OnDropFiles({"/m/song.mp3"});
    messages.clear();
    const int before = static_cast<int>(fake.Calls().size());
    for (int id : {IDC_BTN_PLAY, IDC_BTN_PAUSE, IDC_BTN_STOP}) {
        Click(*dialog, id);
    }
    EXPECT_EQ(fake.Calls().mid(before),
              QStringList({"IsOpend", "Play", "IsOpend", "Pause", "IsOpend", "Stop"}));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(TransportTest, TickShowsThePositionInEveryDisplayAndMovesTheSlider) {
    auto dialog = OpenedDialog(125000);
    const QStringList calls = TickAt(*dialog, 65432);
    EXPECT_EQ(calls.front(), "GetState");
    EXPECT_FALSE(calls.contains("SetPos 0"));
    EXPECT_EQ(dialog->counter->Text(), "01:05");
    EXPECT_EQ(dialog->timeLabel->text(), "01:05/02:05");
    EXPECT_EQ(dialog->GetDlgItemText(IDC_STATIC_SECONDS), "65.432/125.000");
    EXPECT_EQ(dialog->positionSlider->value(), 65432);

    // An hour and more.
    dialog = OpenedDialog(4 * 3600 * 1000);
    TickAt(*dialog, 3725000);
    EXPECT_EQ(dialog->counter->Text(), "1:02:05");
    EXPECT_EQ(dialog->timeLabel->text(), "1:02:05/4:00:00");
}

TEST_F(TransportTest, TickRewindsWithinTheLast300Milliseconds) {
    auto dialog = OpenedDialog(125000);
    EXPECT_FALSE(TickAt(*dialog, 124700).contains("SetPos 0")); // 124700 + 300 is not past
    EXPECT_EQ(dialog->positionSlider->value(), 124700);

    EXPECT_TRUE(TickAt(*dialog, 124701).contains("SetPos 0"));
    EXPECT_EQ(dialog->positionSlider->value(), 0);
    EXPECT_EQ(dialog->GetDlgItemText(IDC_STATIC_SECONDS), "0.000/125.000");

    // A position past the end (the fake does not move on SetPos, so the texts show it).
    EXPECT_TRUE(TickAt(*dialog, 130000).contains("SetPos 0"));
    EXPECT_EQ(dialog->positionSlider->value(), 0);
}

TEST_F(TransportTest, SourceShorterThanTheMarginRewindsOnEveryTick) {
    auto dialog = OpenedDialog(250);
    for (int tick = 0; tick < 3; ++tick) {
        const QStringList calls = TickAt(*dialog, 0);
        EXPECT_EQ(calls.count("SetPos 0"), 1) << tick;
        EXPECT_FALSE(calls.contains("Stop") || calls.contains("Pause")) << tick;
    }
}

TEST_F(TransportTest, DraggingTheThumbSeeksOnceAtRelease) {
    auto dialog = OpenedDialog(100000);
    CMySliderControl* slider = dialog->positionSlider;
    slider->resize(400, slider->height());
    const int y = slider->height() / 2;
    const int before = static_cast<int>(fake.CallsOf({"SetPos"}).size());
    DragSlider(*dialog, slider, QPoint(100, y), QPoint(300, y));
    const QStringList seeks = fake.CallsOf({"SetPos"}).mid(before);
    ASSERT_EQ(seeks.size(), 1);
    EXPECT_EQ(seeks.front(), QString("SetPos %1").arg(slider->value()));
    EXPECT_GT(slider->value(), 50000);

    // Keys move the thumb without a seek.
    slider->setFocus();
    PressKey(*dialog, slider, Qt::Key_Right);
    EXPECT_EQ(fake.CallsOf({"SetPos"}).mid(before).size(), 1);
}
