#include "Fades.h"

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

void ApplyFades(const FadeInWindow& in, const FadeOutWindow& out, int64_t t, uint8_t* block,
                int bytes) {
    if (const auto gain = FadeInGain(in, t)) {
        ApplyGain(block, bytes, *gain);
    }
    if (const auto gain = FadeOutGain(out, t)) {
        ApplyGain(block, bytes, *gain);
    }
}
