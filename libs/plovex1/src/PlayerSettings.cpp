// CPlayer: tempo, pitch, volume, fades and the PCM callback.
#include "Player.h"

#include "FactorRange.h"

#include <algorithm>
#include <cmath>

namespace {

double ClampFactor(double factor) {
    if (!std::isfinite(factor)) {
        return 1.0;
    }
    return std::clamp(factor, kMinFactor, kMaxFactor);
}

} // namespace

void CPlayer::SetTempo(double factor) {
    std::lock_guard lock(mutex);
    ChangeFactorsLocked(ClampFactor(factor), pitch);
}

void CPlayer::SetPitch(double factor) {
    std::lock_guard lock(mutex);
    ChangeFactorsLocked(tempo, ClampFactor(factor));
}

void CPlayer::ChangeFactorsLocked(double newTempo, double newPitch) {
    if (newTempo == tempo && newPitch == pitch) {
        return;
    }
    tempo = newTempo;
    pitch = newPitch;
    // Start again from what is heard now: the change is heard at once and nothing is skipped.
    if (decoder) {
        SeekLocked(HeardFrameLocked());
    }
}

double CPlayer::Pitch() const {
    std::lock_guard lock(mutex);
    return pitch;
}

void CPlayer::SetVolume(int newVolume) {
    std::lock_guard lock(mutex);
    volume = std::clamp(newVolume, 0, 100);
}

void CPlayer::SetFadeIn(int64_t startMs, int64_t lengthMs) {
    std::lock_guard lock(mutex);
    fades.SetFadeIn(startMs, lengthMs);
}

void CPlayer::SetFadeOut(int64_t startMs, int64_t endMs) {
    std::lock_guard lock(mutex);
    fades.SetFadeOut(startMs, endMs);
}

void CPlayer::EnableFade(bool on) {
    std::lock_guard lock(mutex);
    fades.Enable(on);
}

void CPlayer::SetPcmCallback(PlovexPcmCallback callback, void* user) {
    // Waits for a callback in progress, so the old one is never called after this returns.
    std::lock_guard lock(callbackMutex);
    pcmCallback = callback;
    pcmUser = user;
}

void CPlayer::SetStopMs(int ms) {
    std::lock_guard lock(mutex);
    stopMs = ms < 0 ? -1 : ms;
    // What is already decoded past a new stop position would be heard: decode again from here.
    if (decoder && stopMs >= 0 && decoder->PositionFrames() > EndFrameLocked()) {
        SeekLocked(HeardFrameLocked());
    }
}
