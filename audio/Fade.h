#pragma once
// Fade-in and fade-out as one gain per block, from the time at the block's end.
#include <cstdint>
#include <optional>

struct FadeInWindow {
    int enabled = 1;
    int startMs = 0;
    int lengthMs = 5000;
};

struct FadeOutWindow {
    int enabled = 0;
    int startMs = 0;
    int endMs = 5000;
};

// The gain for a block ending at t ms, or nothing when the block lies outside the window (or
// the window is off or 100 ms or shorter). The cut measures t from the range start.
std::optional<float> FadeInGain(const FadeInWindow& fade, int64_t t);
std::optional<float> FadeOutGain(const FadeOutWindow& fade, int64_t t);
