#include "Gain.h"

#include <cmath>

void ApplyGain(int16_t* pcm, size_t values, float gain) {
    for (size_t i = 0; i < values; ++i) {
        double w = std::trunc(static_cast<double>(pcm[i]) * static_cast<double>(gain));
        w = w > 32767.0 ? 32767.0 : (w < -32767.0 ? -32767.0 : w);
        pcm[i] = static_cast<int16_t>(w);
    }
}
