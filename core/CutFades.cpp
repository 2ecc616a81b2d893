#include "CutFades.h"

#include <algorithm>
#include <cstdint>

CutFades MakeCutFades(bool fadeInTicked, int fadeInMs, bool fadeOutTicked, int fadeOutMs,
                      int lengthMs) {
    const int64_t length = std::max(lengthMs, 0);
    int64_t in = fadeInTicked ? std::max(fadeInMs, 0) : 0;
    int64_t out = fadeOutTicked ? std::max(fadeOutMs, 0) : 0;
    CutFades fades;
    if (in + out > length) {
        fades.shortened = true;
        const int64_t both = in + out;
        in = length * in / both;
        out = out > 0 ? length - in : 0;
    }
    if (fadeInTicked) {
        fades.inEnabled = 1;
        fades.inLengthMs = static_cast<int>(in);
    }
    if (fadeOutTicked) {
        fades.outEnabled = 1;
        fades.outStartMs = static_cast<int>(length - out);
        fades.outEndMs = static_cast<int>(length);
    }
    return fades;
}
