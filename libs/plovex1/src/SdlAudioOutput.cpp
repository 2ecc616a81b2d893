#include "SdlAudioOutput.h"

#include <mutex>

namespace {

bool InitSdlAudio() {
    static bool ok = false;
    static std::once_flag once;
    std::call_once(once, [] {
        // The host program owns SIGINT and SIGTERM; SDL must not take them over.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        ok = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    });
    return ok;
}

// About 20 ms per device buffer: short enough that the position stays close to what is heard.
Uint16 DeviceBufferFrames(int sampleRate) {
    Uint16 frames = 256;
    while (frames < 4096 && frames < sampleRate / 50) {
        frames = static_cast<Uint16>(frames * 2);
    }
    return frames;
}

} // namespace

CSdlAudioOutput::~CSdlAudioOutput() {
    Close();
}

bool CSdlAudioOutput::Open(int sampleRate, int channels) {
    Close();
    if (sampleRate <= 0 || channels <= 0 || !InitSdlAudio()) {
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = sampleRate;
    want.format = AUDIO_S16SYS;
    want.channels = static_cast<Uint8>(channels);
    want.samples = DeviceBufferFrames(sampleRate);
    want.callback = nullptr; // queued: SDL_QueueAudio feeds the device
    SDL_AudioSpec have{};
    // No allowed changes: SDL converts to whatever the device really takes.
    device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) {
        return false;
    }
    rate = sampleRate;
    frameBytes = 2 * channels;
    deviceBufferFrames = have.samples;
    return true;
}

void CSdlAudioOutput::Start() {
    if (device) {
        SDL_PauseAudioDevice(device, 0);
    }
}

void CSdlAudioOutput::Pause() {
    if (device) {
        SDL_PauseAudioDevice(device, 1);
    }
}

void CSdlAudioOutput::Reset() {
    if (device) {
        SDL_ClearQueuedAudio(device);
    }
}

void CSdlAudioOutput::Write(const int16_t* pcm, size_t frames) {
    if (device && frames > 0) {
        SDL_QueueAudio(device, pcm, static_cast<Uint32>(frames * static_cast<size_t>(frameBytes)));
    }
}

double CSdlAudioOutput::DelayMs() {
    if (!device) {
        return 0.0;
    }
    const double queuedFrames = static_cast<double>(SDL_GetQueuedAudioSize(device)) / frameBytes;
    if (queuedFrames <= 0.0) {
        return 0.0;
    }
    // The buffer SDL is playing from is no longer queued: on average half of it is still to come.
    return (queuedFrames + deviceBufferFrames / 2.0) * 1000.0 / rate;
}

void CSdlAudioOutput::Close() {
    if (device) {
        SDL_CloseAudioDevice(device);
        device = 0;
    }
}
