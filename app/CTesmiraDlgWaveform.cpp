// The waveform strip under the position slider: a worker fills it when a source is accepted
// (or the cache has it), a tick keeps its overlay on the marks, fades and play position, and
// the mouse on it seeks and marks as typing the times would.
#include "CMySliderControl.h"
#include "CTesmiraDlg.h"
#include "CWaveformStrip.h"
#include "ControlIds.h"
#include "TimeTexts.h"

#include <QCheckBox>
#include <QTimer>
#include <algorithm>

namespace {

// The play line and the marks follow this often; also how soon a prelisten's end is seen.
constexpr int kWaveformTickMs = 100;
constexpr int kPlayerPlaying = 2;

} // namespace

void CTesmiraDlg::SetUpWaveform() {
    waveformStrip->FollowSlider(positionSlider);
    waveformStrip->onSeek = [this](int ms) { OnStripSeek(ms); };
    waveformStrip->onMarkDragged = [this](bool start, int ms) { OnStripMarkDragged(start, ms); };
    waveformStrip->onRangeDragged = [this](int a, int b) { OnStripRangeDragged(a, b); };
    auto* tick = new QTimer(this);
    connect(tick, &QTimer::timeout, this, [this] { OnWaveformTick(); });
    tick->start(kWaveformTickMs);
}

void CTesmiraDlg::ShowWaveformOf(const std::string& path) {
    bool fresh = false;
    std::shared_ptr<WaveformTrack> track = waveformCache.TrackFor(path, fresh);
    if (fresh) {
        waveformWorker.Start(player, path, track); // cancels the previous file's
    } else {
        waveformWorker.Cancel();
    }
    waveformStrip->SetTrack(std::move(track));
    OnWaveformTick();
}

void CTesmiraDlg::OnWaveformTick() {
    if (sourcePath.empty()) {
        return;
    }
    WaveOverlay overlay;
    overlay.lengthText = QString::fromStdString(FormatMinSec(positionSlider->maximum() / 1000));
    if (lengthMode == WholeSource) {
        overlay.startMs = 0;
        overlay.endMs = positionSlider->maximum();
        overlay.marksMovable = false;
    } else {
        overlay.startMs = positionSlider->startMark;
        overlay.endMs = positionSlider->endMark;
    }
    if (overlay.startMs >= 0 && overlay.endMs > overlay.startMs) {
        CutRequest segment;
        const auto in = FadeMs(IDC_CHECK_FADE_IN, IDC_EDIT_FADE_IN);
        const auto out = FadeMs(IDC_CHECK_FADE_OUT, IDC_EDIT_FADE_OUT);
        segment.fadeIn = fadeInBox != nullptr && fadeInBox->isChecked();
        segment.fadeInMs = in.value_or(0);
        segment.fadeOut = fadeOutBox != nullptr && fadeOutBox->isChecked();
        segment.fadeOutMs = out.value_or(0);
        const CutFades fades = FitCutFades(segment, overlay.endMs - overlay.startMs);
        if (fades.inEnabled != 0 && fades.inLengthMs > 0) {
            overlay.fadeInEndMs = overlay.startMs + fades.inLengthMs;
        }
        if (fades.outEnabled != 0 && fades.outEndMs > fades.outStartMs) {
            overlay.fadeOutStartMs = overlay.startMs + fades.outStartMs;
        }
    }
    // A thumb the user holds shows where the release will seek.
    const bool playing = player.GetState() == kPlayerPlaying;
    overlay.positionMs =
        positionSlider->IsDragging() || !playing ? positionSlider->value() : player.GetPos();
    waveformStrip->SetOverlay(overlay);
    if (prelistening != Prelisten::None && !playing) {
        EndPrelisten(); // it ran to its end, or the player was paused or stopped
    }
}

// A click on the strip seeks as the slider's release does.
void CTesmiraDlg::OnStripSeek(int ms) {
    positionSlider->setValue(ms);
    player.SetPos(positionSlider->value());
    positionSlider->update();
    OnWaveformTick();
}

// The mark's time goes into its edit, whose change handling moves the mark, the slider and
// the player and updates the length label, as if it had been typed.
void CTesmiraDlg::OnStripMarkDragged(bool startMark, int ms) {
    if (lengthMode == WholeSource) {
        return;
    }
    SetDlgItemText(startMark ? IDC_EDIT_START : IDC_EDIT_END,
                   QString::fromStdString(FormatSeconds3(ms / 1000.0)));
    OnWaveformTick();
}

void CTesmiraDlg::OnStripRangeDragged(int startMs, int endMs) {
    if (lengthMode == WholeSource || endMs <= startMs) {
        return;
    }
    SetDlgItemText(IDC_EDIT_START, QString::fromStdString(FormatSeconds3(startMs / 1000.0)));
    SetDlgItemText(IDC_EDIT_END, QString::fromStdString(FormatSeconds3(endMs / 1000.0)));
    OnWaveformTick();
}
