#include "PcmGain.h"

#include <algorithm>
#include <cmath>

void ApplyGain(int16_t* pcm, size_t values, double gain) {
    for (size_t i = 0; i < values; ++i) {
        const double scaled = std::round(static_cast<double>(pcm[i]) * gain);
        pcm[i] = static_cast<int16_t>(std::clamp(scaled, -32768.0, 32767.0));
    }
}
