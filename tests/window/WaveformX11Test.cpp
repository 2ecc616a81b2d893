// The waveform strip and 试听 with the real player library, under a real X server with real
// mouse events (xdotool). Runs only on the xcb platform.
#include "CMySliderControl.h"
#include "CWaveformStrip.h"
#include "ControlIds.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QProcess>
#include <QTest>

namespace {

void Xdo(const QStringList& arguments) {
    EXPECT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0) << "xdotool failed";
}

// Screen position of ms on the strip, half way down.
QStringList At(const CWaveformStrip* strip, int ms) {
    const WaveAxis axis = strip->Axis();
    const QPoint p = strip->mapToGlobal(
        QPoint(SliderGeometry::ValueToX(ms, axis.range, axis.channel), strip->height() / 2));
    return {QString::number(p.x()), QString::number(p.y())};
}

int EditMs(const CTesmiraDlg& dialog, int id) {
    return static_cast<int>(std::lround(dialog.GetDlgItemText(id).toDouble() * 1000.0));
}

} // namespace

TEST_F(WindowTest, WaveformSeeksMarksAndPrelistensWithRealInput) {
    if (QApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "needs an X server; ctest runs it as window_waveform_x11";
    }
    auto dialog = MakeDialog(REAL_PLAYER_PATH);
    dialog->OnDropFiles({QString::fromStdString(MakeSong("song.mp3", 12.0))});
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    auto* strip = qobject_cast<CWaveformStrip*>(dialog->GetDlgItem(IDC_WAVEFORM));
    ASSERT_NE(strip, nullptr);
    // A column is about 32 ms of this song.
    const int column = 12000 / (strip->Axis().channel.right - strip->Axis().channel.left) + 1;

    Xdo(QStringList{"mousemove"} + At(strip, 4000) + QStringList{"click", "1"});
    QTest::qWait(300);
    EXPECT_NEAR(PositionSlider(*dialog)->value(), 4000, column);

    dialog->SetDlgItemText(IDC_EDIT_START, QStringLiteral("2"));
    dialog->SetDlgItemText(IDC_EDIT_END, QStringLiteral("4.5"));
    QTest::qWait(200); // the overlay takes the marks at its next tick
    Xdo(QStringList{"mousemove"} + At(strip, 2000) + QStringList{"mousedown", "1"});
    Xdo(QStringList{"mousemove"} + At(strip, 3000) + QStringList{"mouseup", "1"});
    QTest::qWait(300);
    const int start = EditMs(*dialog, IDC_EDIT_START);
    EXPECT_NEAR(start, 3000, column);
    EXPECT_EQ(PositionSlider(*dialog)->startMark, start);
    EXPECT_EQ(EditMs(*dialog, IDC_EDIT_END), 4500);

    const QWidget* prelisten = dialog->GetDlgItem(IDC_BTN_PRELISTEN);
    const QPoint button = prelisten->mapToGlobal(prelisten->rect().center());
    Xdo({"mousemove", QString::number(button.x()), QString::number(button.y()), "click", "1"});
    QTest::qWait(250);
    // Playing from the start mark...
    const int early = strip->Overlay().positionMs;
    EXPECT_GE(early, start);
    EXPECT_LT(early, start + 600);
    // ...and stopped on the end mark, where the once-a-second timer puts the slider and
    // leaves it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return PositionSlider(*dialog)->value() == 4500; }, 8000));
    QTest::qWait(1200);
    EXPECT_EQ(PositionSlider(*dialog)->value(), 4500);
    EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
}
