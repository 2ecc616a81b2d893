#include "Fades.h"

#include "Gain.h"

void ApplyFades(const FadeInWindow& in, const FadeOutWindow& out, int64_t t, uint8_t* block,
                int bytes) {
    // Whole samples only: an odd trailing byte is not half of a sample to scale.
    auto* samples = reinterpret_cast<int16_t*>(block);
    const size_t values = bytes > 0 ? static_cast<size_t>(bytes) / 2 : 0;
    if (const auto gain = FadeInGain(in, t)) {
        ApplyGain(samples, values, *gain);
    }
    if (const auto gain = FadeOutGain(out, t)) {
        ApplyGain(samples, values, *gain);
    }
}
