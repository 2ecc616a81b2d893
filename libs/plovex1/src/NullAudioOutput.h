#pragma once
// An output without a device: it plays nothing but consumes its queue at real-time speed, so
// positions move as they would with a sound card.
#include "AudioOutput.h"

#include <chrono>

class CNullAudioOutput : public CAudioOutput {
public:
    bool Open(int sampleRate, int channels) override;
    void Start() override;
    void Pause() override;
    void Reset() override;
    void Write(const int16_t* pcm, size_t frames) override;
    double DelayMs() override;
    void Close() override;
    bool IsDevice() const override { return false; }

private:
    using Clock = std::chrono::steady_clock;

    // Takes the frames that real time has played since the last call off the queue.
    void Consume();

    int rate = 44100;
    bool started = false;
    double queuedFrames = 0.0;
    Clock::time_point since;
};
