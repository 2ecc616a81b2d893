#pragma once
// Tempo and pitch of the preview through SoundTouch, set up as the cut sets it up (quick seek
// off, anti-alias filter on) so the preview sounds as the cut will.
#include <SoundTouch.h>
#include <cstddef>
#include <cstdint>
#include <vector>

class CTempoPitch {
public:
    // Also forgets everything SoundTouch holds.
    void Configure(int sampleRate, int channelCount);
    void SetFactors(double tempo, double pitch);
    // Feeds frames and appends every frame SoundTouch has ready to out.
    void Process(const int16_t* in, size_t frames, std::vector<int16_t>& out);
    // At the end of the source: pushes out what SoundTouch still holds, appended to out.
    void Flush(std::vector<int16_t>& out);
    void Clear();

private:
    void Drain(std::vector<int16_t>& out);

    int channels = 2;
    std::vector<float> work;
    soundtouch::SoundTouch soundTouch;
};
