#pragma once
// Where the player's PCM goes. The contract every backend keeps:
// - Open(rate, channels) prepares a paused output for interleaved signed 16-bit samples;
//   false when the backend cannot play (then nothing else may be called but Close).
// - Start() lets the queued samples play at real-time speed; Pause() holds them where they are.
// - Write() queues frames at once and never waits for them to be played.
// - Reset() drops every queued frame, so what is written next is heard next.
// - DelayMs() is how long the queued frames take to be heard, 0 when all have been played.
// - Close() releases the device; Open may be called again afterwards.
// Calls are not synchronised with each other: the player serialises them.
#include <cstddef>
#include <cstdint>
#include <memory>

class CAudioOutput {
public:
    virtual ~CAudioOutput() = default;

    virtual bool Open(int sampleRate, int channels) = 0;
    virtual void Start() = 0;
    virtual void Pause() = 0;
    virtual void Reset() = 0;
    virtual void Write(const int16_t* pcm, size_t frames) = 0;
    virtual double DelayMs() = 0;
    virtual void Close() = 0;
    // False for the silent stand-in used when no device opens.
    virtual bool IsDevice() const { return true; }
};

// An opened output for the format: the SDL2 device when one opens, else the null output.
std::unique_ptr<CAudioOutput> OpenAudioOutput(int sampleRate, int channels);
