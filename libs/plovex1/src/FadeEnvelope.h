#pragma once
// Fade-in and fade-out of the preview: the cut's gains, placed in source time.
#include "Fade.h"

#include <cstddef>
#include <cstdint>

class CFadeEnvelope {
public:
    void SetFadeIn(int64_t startMs, int64_t lengthMs);
    void SetFadeOut(int64_t startMs, int64_t endMs);
    void Enable(bool on);

    // Scales a block of values that ends at source time endMs by the gains the cut gives a
    // block ending there.
    void Apply(int16_t* pcm, size_t values, int64_t endMs) const;

private:
    FadeInWindow in{0, 0, 0};
    FadeOutWindow out{0, 0, 0};
};
