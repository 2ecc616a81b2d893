#include "FadeEnvelope.h"

#include "Gain.h"

#include <algorithm>
#include <climits>

namespace {

int ClampMs(int64_t ms) {
    return static_cast<int>(std::clamp<int64_t>(ms, INT_MIN, INT_MAX));
}

} // namespace

void CFadeEnvelope::SetFadeIn(int64_t startMs, int64_t lengthMs) {
    in.startMs = ClampMs(startMs);
    in.lengthMs = ClampMs(lengthMs);
}

void CFadeEnvelope::SetFadeOut(int64_t startMs, int64_t endMs) {
    out.startMs = ClampMs(startMs);
    out.endMs = ClampMs(endMs);
}

void CFadeEnvelope::Enable(bool on) {
    in.enabled = on ? 1 : 0;
    out.enabled = on ? 1 : 0;
}

void CFadeEnvelope::Apply(int16_t* pcm, size_t values, int64_t endMs) const {
    if (const auto gain = FadeInGain(in, endMs)) {
        ApplyGain(pcm, values, *gain);
    }
    if (const auto gain = FadeOutGain(out, endMs)) {
        ApplyGain(pcm, values, *gain);
    }
}
