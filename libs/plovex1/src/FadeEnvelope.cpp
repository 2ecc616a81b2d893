#include "FadeEnvelope.h"

#include "PcmGain.h"

#include <algorithm>

void CFadeEnvelope::SetFadeIn(int64_t startMs, int64_t lengthMs) {
    inStartMs = startMs;
    inLengthMs = lengthMs;
}

void CFadeEnvelope::SetFadeOut(int64_t startMs, int64_t endMs) {
    outStartMs = startMs;
    outEndMs = endMs;
}

double CFadeEnvelope::GainAt(double ms) const {
    double gain = 1.0;
    if (inLengthMs > 0) {
        gain *= std::clamp((ms - static_cast<double>(inStartMs)) / static_cast<double>(inLengthMs),
                           0.0, 1.0);
    }
    if (outEndMs > outStartMs) {
        const double span = static_cast<double>(outEndMs - outStartMs);
        gain *= std::clamp((static_cast<double>(outEndMs) - ms) / span, 0.0, 1.0);
    }
    return gain;
}

void CFadeEnvelope::Apply(int16_t* pcm, size_t frames, int channels, int64_t firstFrame,
                          int sampleRate) const {
    if (!IsActive() || sampleRate <= 0) {
        return;
    }
    for (size_t i = 0; i < frames; ++i) {
        const double ms =
            static_cast<double>(firstFrame + static_cast<int64_t>(i)) * 1000.0 / sampleRate;
        const double gain = GainAt(ms);
        if (gain < 1.0) {
            ApplyGain(pcm + i * static_cast<size_t>(channels), static_cast<size_t>(channels), gain);
        }
    }
}
