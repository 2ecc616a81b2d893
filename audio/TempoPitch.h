#pragma once
// Tempo and pitch change through SoundTouch on interleaved 16-bit PCM. The cut and the preview
// both use it, so the preview sounds as the cut will.
#include <SoundTouch.h>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

// The float conversions assume SoundTouch was built for float samples.
static_assert(std::is_same_v<soundtouch::SAMPLETYPE, float>,
              "SoundTouch must use floating-point samples");

class CTempoPitch {
public:
    CTempoPitch();

    // Sample rate and channel count of the source; quick seek off, anti-alias filter on.
    // SoundTouch refuses samples (it throws) until this is called.
    void Configure(int sampleRate, int channelCount);

    // percent in -50..900 is applied and kept; anything else changes nothing (false).
    bool SetTempoChange(float percent);
    // factor in kMinFactor..kMaxFactor is applied and kept; anything else changes nothing
    // (false): SoundTouch crashes on 0 or a negative factor and crawls on huge ones.
    bool SetPitch(float factor);
    bool IsActive() const { return tempoChange != 0.0f || pitch != 1.0f; }
    float GetTempoChange() const { return tempoChange; }
    float GetPitch() const { return pitch; }

    // Feeds frames (channels interleaved).
    void Put(const int16_t* in, size_t frames);
    // Frames ready to be received.
    size_t ReadyFrames() const;
    // Moves up to maxFrames ready frames to out and returns how many; the rest waits for the
    // next call.
    size_t Receive(int16_t* out, size_t maxFrames);
    // At the end of the input: makes ready whatever SoundTouch still holds.
    void Flush();
    // Forgets everything SoundTouch holds, so nothing of one stream reaches the next.
    void Clear();

private:
    int channels = 2;
    float tempoChange = 0.0f;
    float pitch = 1.0f;
    std::vector<float> piece; // samples on their way into or out of SoundTouch
    soundtouch::SoundTouch soundTouch;
};
