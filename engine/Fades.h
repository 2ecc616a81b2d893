#pragma once
// Fade-in and fade-out as one gain per block, from the reader's position after the read.
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

// The gain for a block ending at t ms after the range start, or nothing when the
// block lies outside the window (or the window is off or 100 ms or shorter).
std::optional<float> FadeInGain(const FadeInWindow& fade, int64_t t);
std::optional<float> FadeOutGain(const FadeOutWindow& fade, int64_t t);

// Multiplies every 16-bit sample by gain, truncating toward zero, limited to -32767..32767.
void ApplyGain(uint8_t* block, int bytes, float gain);

// Both fades, the fade-in's gain first, to a block ending t ms after the range start.
void ApplyFades(const FadeInWindow& in, const FadeOutWindow& out, int64_t t, uint8_t* block,
                int bytes);
