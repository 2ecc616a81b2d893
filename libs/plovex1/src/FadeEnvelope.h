#pragma once
// Fade-in and fade-out of the preview, placed in source time like the cut's fades.
#include <cstddef>
#include <cstdint>

class CFadeEnvelope {
public:
    // lengthMs <= 0: no fade-in.
    void SetFadeIn(int64_t startMs, int64_t lengthMs);
    // endMs <= startMs: no fade-out.
    void SetFadeOut(int64_t startMs, int64_t endMs);
    void Enable(bool on) { enabled = on; }
    bool IsActive() const { return enabled && (inLengthMs > 0 || outEndMs > outStartMs); }

    // Scales frames whose first one is source frame firstFrame.
    void Apply(int16_t* pcm, size_t frames, int channels, int64_t firstFrame, int sampleRate) const;

    // Gain at a source time in ms: 0..1.
    double GainAt(double ms) const;

private:
    bool enabled = false;
    int64_t inStartMs = 0;
    int64_t inLengthMs = 0;
    int64_t outStartMs = 0;
    int64_t outEndMs = 0;
};
