#pragma once
// The sound card through SDL2: SDL's own thread pulls from SDL's queue, the player pushes.
#include "AudioOutput.h"

#include <SDL.h>

class CSdlAudioOutput : public CAudioOutput {
public:
    ~CSdlAudioOutput() override;

    bool Open(int sampleRate, int channels) override;
    void Start() override;
    void Pause() override;
    void Reset() override;
    void Write(const int16_t* pcm, size_t frames) override;
    double DelayMs() override;
    void Close() override;

private:
    SDL_AudioDeviceID device = 0;
    int rate = 0;
    int frameBytes = 0;
    int deviceBufferFrames = 0;
};
