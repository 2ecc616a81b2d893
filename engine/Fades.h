#pragma once
// The cut's fades on a block of its PCM: one gain per block, from the time at the block's end.
#include "Fade.h"

#include <cstdint>

// Both fades, the fade-in's gain first, to a block ending t ms after the range start.
void ApplyFades(const FadeInWindow& in, const FadeOutWindow& out, int64_t t, uint8_t* block,
                int bytes);
