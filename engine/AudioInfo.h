#pragma once
#include <cstdint>

// The reader's description of the open source.
struct AudioInfo {
    int32_t durationMs = 0;
    int32_t bitrateKbps = 0;
    int32_t sampleRate = 0;
    int32_t stereo = 1;
};
