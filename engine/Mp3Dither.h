#pragma once
// Noise-shaped dither from libmad's 28-bit fixed point to 16-bit samples.
#include <cstdint>
#include <mad.h>

struct DitherState {
    int32_t error0 = 0;
    int32_t error1 = 0;
    int32_t error2 = 0;
    uint32_t random = 0;
};

int16_t Dither16(mad_fixed_t sample, DitherState& state);
