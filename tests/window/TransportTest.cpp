// Previewing: the transport buttons, seeking with the position slider, and the
// once-a-second tick that shows the position and rewinds at the end.
#include "CMySliderControl.h"
#include "ControlIds.h"
#include "WindowActions.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <functional>

namespace {

QString U(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

class TransportTest : public WindowTest {
protected:
    std::unique_ptr<CTesmiraDlg> OpenedDialog(int lengthMs) {
        auto dialog = MakeDialog();
        fake.Configure(1, lengthMs);
        dialog->OnDropFiles({"/m/song.mp3"});
        return dialog;
    }
    // One tick of the play-position timer at position ms; the player calls it made.
    QStringList TickAt(CTesmiraDlg& dialog, int ms) {
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
    EXPECT_EQ(fake.Calls().mid(before), QStringList({"IsOpend", "HasAudioDevice", "Play", "IsOpend",
                                                     "Pause", "IsOpend", "Stop"}));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(TransportTest, TickShowsThePositionInEveryDisplayAndMovesTheSlider) {
    auto dialog = OpenedDialog(125000);
    const QStringList calls = TickAt(*dialog, 65432);
    EXPECT_EQ(calls.front(), "GetState");
    EXPECT_FALSE(calls.contains("SetPos 0"));
    EXPECT_EQ(dialog->GetDlgItem(IDC_COUNTER)->accessibleName(), "01:05");
    EXPECT_EQ(dialog->GetDlgItemText(IDC_LABEL_TIME), "01:05/02:05");
    EXPECT_EQ(dialog->GetDlgItemText(IDC_STATIC_SECONDS), "65.432/125.000");
    EXPECT_EQ(PositionSlider(*dialog)->value(), 65432);

    // An hour and more.
    dialog = OpenedDialog(4 * 3600 * 1000);
    TickAt(*dialog, 3725000);
    EXPECT_EQ(dialog->GetDlgItem(IDC_COUNTER)->accessibleName(), "1:02:05");
    EXPECT_EQ(dialog->GetDlgItemText(IDC_LABEL_TIME), "1:02:05/4:00:00");
}

TEST_F(TransportTest, TickRewindsWithinTheLast300Milliseconds) {
    auto dialog = OpenedDialog(125000);
    EXPECT_FALSE(TickAt(*dialog, 124700).contains("SetPos 0")); // 124700 + 300 is not past
    EXPECT_EQ(PositionSlider(*dialog)->value(), 124700);

    EXPECT_TRUE(TickAt(*dialog, 124701).contains("SetPos 0"));
    EXPECT_EQ(PositionSlider(*dialog)->value(), 0);
    EXPECT_EQ(dialog->GetDlgItemText(IDC_STATIC_SECONDS), "0.000/125.000");

    // A position past the end (the fake does not move on SetPos, so the texts show it).
    EXPECT_TRUE(TickAt(*dialog, 130000).contains("SetPos 0"));
    EXPECT_EQ(PositionSlider(*dialog)->value(), 0);
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
    CMySliderControl* slider = PositionSlider(*dialog);
    slider->resize(400, slider->height());
    const int y = slider->height() / 2;
    const int before = static_cast<int>(fake.CallsOf({"SetPos"}).size());
    DragSlider(*dialog, slider, QPoint(100, y), QPoint(300, y));
    const QStringList seeks = fake.CallsOf({"SetPos"}).mid(before);
    ASSERT_EQ(seeks.size(), 1);
    EXPECT_EQ(seeks.front(), QString("SetPos %1").arg(slider->value()));
    EXPECT_GT(slider->value(), 50000);

    // A held thumb stays where the user put it while the tick goes on.
    SendMouse(slider, QEvent::MouseButtonPress, QPoint(100, y));
    const int held = slider->value();
    TickAt(*dialog, 70000);
    EXPECT_EQ(slider->value(), held);
    SendMouse(slider, QEvent::MouseButtonRelease, QPoint(100, y));
    QCoreApplication::sendPostedEvents(dialog.get());
    EXPECT_EQ(fake.CallsOf({"SetPos"}).last(), QString("SetPos %1").arg(held));
}

TEST_F(TransportTest, ArrowKeysSeekBySecondsAndPageKeysByTen) {
    auto dialog = OpenedDialog(100000);
    CMySliderControl* slider = PositionSlider(*dialog);
    TickAt(*dialog, 50000);
    slider->setFocus();
    const std::pair<int, int> rows[] = {{Qt::Key_Right, 51000},
                                        {Qt::Key_Left, 50000},
                                        {Qt::Key_PageUp, 60000},
                                        {Qt::Key_PageDown, 50000},
                                        {Qt::Key_End, 100000}};
    for (const auto& [key, position] : rows) {
        PressKey(*dialog, slider, key);
        EXPECT_EQ(fake.CallsOf({"SetPos"}).last(), QString("SetPos %1").arg(position)) << key;
    }
}

// Run offscreen and, as window_keys_x11, on a real X server with xdotool's keys.
TEST_F(TransportTest, KeysGoToTheFocusedControlAndPlayWhereNoControlTakesThem) {
    auto dialog = OpenedDialog(100000);
    dialog->show();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    const bool x11 = QApplication::platformName() == QLatin1String("xcb");
    auto* fadeIn = qobject_cast<QLineEdit*>(dialog->GetDlgItem(IDC_EDIT_FADE_IN));
    const auto played = [&] { return fake.CallsOf({"Play", "Pause", "Stop"}).join(' '); };
    const struct {
        int focus; // control id; 0: leave the focus where it is
        const char* key;
        std::function<bool()> done;
    } rows[] = {
        // An accepted song puts the focus on the position slider, which leaves Space alone.
        {0, "space", [&] { return played() == "Pause Play"; }},
        {0, "space", [&] { return played() == "Pause Play Pause"; }},
        {0, "i", [&] { return dialog->GetDlgItemText(IDC_EDIT_START) == "12.000"; }},
        {0, "Right", [&] { return fake.CallsOf({"SetPos"}).last() == "SetPos 13000"; }},
        // A push button is pressed with Space, as in any dialog.
        {IDC_BTN_STOP, "space", [&] { return played() == "Pause Play Pause Stop"; }},
        {IDC_BTN_START_CUT, "space", [&] { return messages == QStringList{U("请输入结束点！")}; }},
        {IDC_EDIT_FADE_IN, "space", [&] { return fadeIn->text() == "15 "; }},
        {IDC_EDIT_FADE_IN, "o", [&] { return fadeIn->text() == "15 o"; }},
        {IDC_BTN_PLAY, "ctrl+o", [&] { return openFileFilters.size() == 1; }},
    };
    fake.SetPosition(12000);
    for (const auto& row : rows) {
        if (row.focus != 0) {
            dialog->GetDlgItem(row.focus)->setFocus();
        }
        if (x11) {
            QProcess::execute(QStringLiteral("xdotool"), {"key", row.key});
        } else {
            QTest::keySequence(QApplication::focusWidget(),
                               QKeySequence(QString(row.key).replace("space", "Space")));
        }
        EXPECT_TRUE(QTest::qWaitFor(row.done, 3000))
            << row.key << " on " << row.focus << ": " << played().toStdString();
        QCoreApplication::sendPostedEvents();
    }
    EXPECT_EQ(dialog->focusWidget(), dialog->GetDlgItem(IDC_BTN_PLAY));
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(TransportTest, WithoutASoundDeviceTheUserIsToldOnceAndTheCounterStays) {
    auto dialog = OpenedDialog(100000);
    TickAt(*dialog, 65000);
    dialog->OnDropFiles({"/m/second.mp3"}); // another song: its position at once
    EXPECT_EQ(dialog->GetDlgItem(IDC_COUNTER)->accessibleName(), "00:00");
    EXPECT_EQ(dialog->GetDlgItemText(IDC_LABEL_TIME), "00:00/01:40");

    fake.SetAudioDevice(false);
    Click(*dialog, IDC_BTN_PLAY);
    Click(*dialog, IDC_BTN_PLAY);
    EXPECT_EQ(messages, QStringList{U("没有可用的声音设备，无法播放")});
    EXPECT_TRUE(fake.CallsOf({"Play"}).isEmpty());
}
