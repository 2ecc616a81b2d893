// Previewing the source: play, pause, stop, seeking with the position slider, and the
// once-a-second position display that rewinds at the end. The player is asked afresh on
// every step; the window keeps no playback state of its own.
#include "CMySliderControl.h"
#include "CStaticCounter.h"
#include "CTMStatic.h"
#include "CTesmiraDlg.h"
#include "ControlIds.h"
#include "ScrollNotifyEvent.h"
#include "TimeTexts.h"

#include <cstdint>

namespace {

// Within this much of the end the position is taken as the end.
constexpr int64_t kEndMarginMs = 300;

} // namespace

bool CTesmiraDlg::CheckSourceOpen() {
    if (player.IsOpend() == 0) {
        MessageBox(QString::fromUtf8("请选择mp3文件!"));
        return false;
    }
    return true;
}

// Button "播放".
void CTesmiraDlg::OnPlay() {
    if (CheckSourceOpen()) {
        StartPlayback();
    }
}

// Plays only where it can be heard: without a sound device the user is told why, once, and
// the position (and the counter) stay where they are.
void CTesmiraDlg::StartPlayback() {
    if (player.HasAudioDevice() == 0) {
        if (!noSoundDeviceTold) {
            noSoundDeviceTold = true;
            MessageBox(QString::fromUtf8("没有可用的声音设备，无法播放"));
        }
        return;
    }
    player.Play();
}

// Button "暂停".
void CTesmiraDlg::OnPause() {
    if (CheckSourceOpen()) {
        EndPrelisten();
        player.Pause();
    }
}

// Button "停止".
void CTesmiraDlg::OnStop() {
    if (CheckSourceOpen()) {
        EndPrelisten();
        player.Stop();
    }
}

// Seeks once when the mouse lets go of the thumb (dragging alone does not seek), and after
// each move made with the keys or the wheel.
void CTesmiraDlg::OnPositionScroll(int code) {
    if (code == ScrollNotifyEvent::SB_THUMBPOSITION || code == ScrollNotifyEvent::SB_ENDSCROLL) {
        player.SetPos(positionSlider->value());
    }
}

void CTesmiraDlg::OnPlaybackTimer() {
    player.GetState(); // asked as the player expects it; the answer is not needed
    int position = player.GetPos();
    // At the end (or past it) back to the beginning; whether it plays on is the player's.
    if (position + kEndMarginMs > player.GetLen()) {
        player.SetPos(0);
        position = 0;
    }
    // A thumb the user holds stays where the user put it until the release seeks.
    if (!positionSlider->IsDragging()) {
        positionSlider->setValue(position);
        positionSlider->update();
    }
    ShowPlayPosition(position);
}

// The counter and the two position texts.
void CTesmiraDlg::ShowPlayPosition(int positionMs) {
    const int lengthMs = player.GetLen();
    timeLabel->SetText(QString::fromStdString(FormatMinSec(positionMs / 1000) + "/" +
                                              FormatMinSec(lengthMs / 1000)));
    SetDlgItemText(IDC_STATIC_SECONDS,
                   QString::fromStdString(FormatSeconds3(positionMs / 1000.0) + "/" +
                                          FormatSeconds3(lengthMs / 1000.0)));
    counter->SetText(QString::fromStdString(FormatMinSec(positionMs / 1000)));
}
