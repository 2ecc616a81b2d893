#include "Fades.h"

#include "CClipJob.h"

#include <cmath>

std::optional<float> FadeInGain(const FadeInWindow& fade, int64_t t) {
    if (fade.enabled == 0 || fade.lengthMs <= 100) {
        return std::nullopt;
    }
    const int64_t s = fade.startMs;
    const int64_t len = fade.lengthMs;
    if (t < s || t > s + len) {
        return std::nullopt;
    }
    return static_cast<float>(static_cast<double>(t - s) / static_cast<double>(len));
}

std::optional<float> FadeOutGain(const FadeOutWindow& fade, int64_t t) {
    const int64_t s = fade.startMs;
    const int64_t e = fade.endMs;
    if (fade.enabled == 0 || e - s <= 100) {
        return std::nullopt;
    }
    // The window test adds both offsets, so blocks somewhat past the end still get
    // the ramp's end, silence; a gain below zero would turn the audio upside down.
    if (t < s || t > s + e) {
        return std::nullopt;
    }
    const double gain = 1.0 - static_cast<double>(t - s) / static_cast<double>(e - s);
    return static_cast<float>(gain < 0.0 ? 0.0 : gain);
}

void ApplyGain(uint8_t* block, int bytes, float gain) {
    if (bytes <= 0) {
        return;
    }
    // Whole samples only: an odd trailing byte is not half of a sample to scale.
    const int samples = bytes / 2;
    for (int i = 0; i < samples; ++i) {
        uint8_t* p = block + 2 * i;
        const auto v = static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
        double w = std::trunc(static_cast<double>(v) * static_cast<double>(gain));
        w = w > 32767.0 ? 32767.0 : (w < -32767.0 ? -32767.0 : w);
        const auto out = static_cast<uint16_t>(static_cast<int16_t>(w));
        p[0] = static_cast<uint8_t>(out & 0xFF);
        p[1] = static_cast<uint8_t>(out >> 8);
    }
}

void ApplyFadeIn(CClipJob& job, CMp3File& source, uint8_t* block, int bytes) {
    const int64_t t = static_cast<int64_t>(source.GetPositionMs()) - job.startMs;
    if (const auto gain = FadeInGain(job.fadeIn, t)) {
        ApplyGain(block, bytes, *gain);
    }
}

void ApplyFadeOut(CClipJob& job, CMp3File& source, uint8_t* block, int bytes) {
    const int64_t t = static_cast<int64_t>(source.GetPositionMs()) - job.startMs;
    if (const auto gain = FadeOutGain(job.fadeOut, t)) {
        ApplyGain(block, bytes, *gain);
    }
}
