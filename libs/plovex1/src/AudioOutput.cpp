#include "AudioOutput.h"

#include "NullAudioOutput.h"
#include "SdlAudioOutput.h"

std::unique_ptr<CAudioOutput> OpenAudioOutput(int sampleRate, int channels) {
    std::unique_ptr<CAudioOutput> output = std::make_unique<CSdlAudioOutput>();
    if (output->Open(sampleRate, channels)) {
        return output;
    }
    // No sound card (or no audio server): keep playing silently so the window still works.
    output = std::make_unique<CNullAudioOutput>();
    output->Open(sampleRate, channels);
    return output;
}
