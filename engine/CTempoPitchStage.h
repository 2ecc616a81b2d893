#pragma once
// Tempo and pitch change of the cut through SoundTouch, on 16-bit PCM blocks.
#include <SoundTouch.h>
#include <cstdint>
#include <type_traits>

// The float conversions below assume SoundTouch was built for float samples.
static_assert(std::is_same_v<soundtouch::SAMPLETYPE, float>,
              "SoundTouch must use floating-point samples");

class CTempoPitchStage {
public:
    static constexpr int kWorkAreaFloats = 65536;
    static constexpr int kPieceValues = 2048;

    // Sample rate and channel count of the source; quick seek off, anti-alias filter on.
    void Configure(int sampleRate, int channelCount);
    // Pitch factors SoundTouch handles well (an octave either way); the command line takes
    // speed factors from the same range.
    static constexpr double kMinFactor = 0.5;
    static constexpr double kMaxFactor = 2.0;

    // percent in -50..900 is applied and kept; anything else changes nothing (false).
    bool SetTempoChange(float percent);
    // factor in kMinFactor..kMaxFactor is applied and kept; anything else changes nothing
    // (false): SoundTouch crashes on 0 or a negative factor and crawls on huge ones.
    bool SetPitch(float factor);
    bool IsActive() const { return tempoChange != 0.0f || pitch != 1.0f; }

    // in: count 16-bit samples (channels interleaved). Writes the processed samples to out;
    // returns the number of output bytes. May throw whatever SoundTouch throws.
    int Process(int16_t* out, const int16_t* in, int count);
    // Drains what SoundTouch still holds at the end of a cut into out (room for maxSamples).
    int Flush(int16_t* out, int maxSamples);
    // Forgets everything SoundTouch holds, so nothing of one cut reaches the next.
    void Clear();

    int GetChannels() const { return channels; }
    float GetTempoChange() const { return tempoChange; }
    float GetPitch() const { return pitch; }

private:
    int ReceiveInto(float* piece, int frames, int16_t* out, int maxValues);

    int channels = 2;
    float tempoChange = 0.0f;
    float pitch = 1.0f;
    soundtouch::SoundTouch soundTouch;
};
