#include "Mp3Dither.h"

int16_t Dither16(mad_fixed_t sample, DitherState& state) {
    constexpr int64_t kMax = 0x0FFFFFFF;
    constexpr int64_t kMin = -0x10000000;
    // 64-bit arithmetic: a wild sample from a damaged frame must not overflow.
    int64_t s = static_cast<int64_t>(sample) + state.error0 - state.error1 + state.error2;
    state.error2 = state.error1;
    state.error1 = state.error0 / 2;

    const uint32_t r = state.random * 1664525u + 1013904223u;
    int64_t out =
        s + 4096 + static_cast<int64_t>(r & 0x1FFF) - static_cast<int64_t>(state.random & 0x1FFF);
    state.random = r;

    if (out > kMax) {
        out = kMax;
        if (s > kMax) {
            s = kMax;
        }
    } else if (out < kMin) {
        out = kMin;
        if (s < kMin) {
            s = kMin;
        }
    }
    out &= ~static_cast<int64_t>(0x1FFF);
    state.error0 = static_cast<int32_t>(s - out);
    return static_cast<int16_t>(out >> 13);
}
