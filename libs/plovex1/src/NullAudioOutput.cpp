#include "NullAudioOutput.h"

#include <algorithm>

bool CNullAudioOutput::Open(int sampleRate, int /*channels*/) {
    rate = sampleRate > 0 ? sampleRate : 44100;
    started = false;
    queuedFrames = 0.0;
    return true;
}

void CNullAudioOutput::Start() {
    if (!started) {
        started = true;
        since = Clock::now();
    }
}

void CNullAudioOutput::Pause() {
    Consume();
    started = false;
}

void CNullAudioOutput::Reset() {
    queuedFrames = 0.0;
    since = Clock::now();
}

void CNullAudioOutput::Write(const int16_t* /*pcm*/, size_t frames) {
    Consume();
    queuedFrames += static_cast<double>(frames);
}

double CNullAudioOutput::DelayMs() {
    Consume();
    return queuedFrames * 1000.0 / rate;
}

void CNullAudioOutput::Close() {
    started = false;
    queuedFrames = 0.0;
}

void CNullAudioOutput::Consume() {
    if (!started) {
        return;
    }
    const Clock::time_point now = Clock::now();
    const double seconds = std::chrono::duration<double>(now - since).count();
    since = now;
    // An empty queue is an underrun: that time passes without sound, it is not owed later.
    queuedFrames = std::max(0.0, queuedFrames - seconds * rate);
}
