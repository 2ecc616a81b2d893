#include "Fades.h"

#include "CClipJob.h"
#include "Gain.h"

void ApplyFadeIn(CClipJob& job, CAudioFile& source, uint8_t* block, int bytes) {
    const int64_t t = static_cast<int64_t>(source.GetPositionMs()) - job.startMs;
    if (const auto gain = FadeInGain(job.fadeIn, t)) {
        ApplyGain(reinterpret_cast<int16_t*>(block), bytes > 0 ? bytes / 2 : 0, *gain);
    }
}

void ApplyFadeOut(CClipJob& job, CAudioFile& source, uint8_t* block, int bytes) {
    const int64_t t = static_cast<int64_t>(source.GetPositionMs()) - job.startMs;
    if (const auto gain = FadeOutGain(job.fadeOut, t)) {
        ApplyGain(reinterpret_cast<int16_t*>(block), bytes > 0 ? bytes / 2 : 0, *gain);
    }
}
