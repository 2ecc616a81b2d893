// Prelisten: the marked range played as the cut will sound (speed, pitch and the ticked fades
// fitted as the cut fits them), from the start mark to the player's stop at the end mark; or
// only its first or last seconds. The range is read as 开始剪切 reads it, with its messages.
#include "CTesmiraDlg.h"
#include "ControlIds.h"

#include <algorithm>

namespace {

// Where users check a cut: its first and its last seconds.
constexpr int kEdgeMs = 3000;

} // namespace

// Button "试听", key P.
void CTesmiraDlg::OnPrelisten() {
    StartPrelisten(Prelisten::Range);
}

// Button "听开头".
void CTesmiraDlg::OnListenHead() {
    StartPrelisten(Prelisten::Head);
}

// Button "听结尾".
void CTesmiraDlg::OnListenTail() {
    StartPrelisten(Prelisten::Tail);
}

void CTesmiraDlg::StartPrelisten(Prelisten part) {
    if (!CheckSourceOpen()) {
        return;
    }
    // The same button again ends it.
    if (prelistening == part) {
        player.Pause();
        EndPrelisten();
        return;
    }
    CutRequest segment;
    if (!ReadCutSegment(segment) || !ReadCutFades(segment)) {
        return;
    }
    // As the cut does: a range past the end of the song ends with the song.
    const int endMs = std::min(segment.endMs, player.GetLen());
    if (endMs <= segment.startMs) {
        MessageBox(QString::fromUtf8("剪切范围无效!"));
        return;
    }
    const CutFades fades = FitCutFades(segment, endMs - segment.startMs);
    int fromMs = segment.startMs;
    int toMs = endMs;
    if (part == Prelisten::Head) {
        toMs = std::min(endMs, segment.startMs + kEdgeMs);
    } else if (part == Prelisten::Tail) {
        fromMs = std::max(segment.startMs, endMs - kEdgeMs);
    }
    player.Pause();
    // The fades sit in source time from the start mark, as the cut places them.
    player.SetFadeIn(fades.inEnabled != 0 ? segment.startMs + fades.inStartMs : 0,
                     fades.inEnabled != 0 ? fades.inLengthMs : 0);
    player.SetFadeOut(fades.outEnabled != 0 ? segment.startMs + fades.outStartMs : 0,
                      fades.outEnabled != 0 ? segment.startMs + fades.outEndMs : 0);
    player.EnableFade(fades.inEnabled != 0 || fades.outEnabled != 0 ? 1 : 0);
    player.SetStopPos(toMs);
    player.SetPos(fromMs);
    player.Play();
    prelistening = part;
}

void CTesmiraDlg::EndPrelisten() {
    if (prelistening == Prelisten::None) {
        return;
    }
    prelistening = Prelisten::None;
    player.SetStopPos(-1);
    player.EnableFade(0);
    player.SetFadeIn(0, 0);
    player.SetFadeOut(0, 0);
}
