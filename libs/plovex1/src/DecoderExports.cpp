// The decoder exports: a handle of the player's own decoder, for reading a file from start to
// end on another thread (the window's waveform), apart from the one the player plays.
#include "Mp3Decoder.h"
#include "Plovex1.h"

#include <new>

struct PlovexDecoder {
    CMp3Decoder decoder;
};

namespace {

// Samples per MPEG frame: layer I 384, layer II 1152, layer III 1152 (MPEG-1) or 576 (2 and 2.5).
int SamplesPerFrame(int layer, int sampleRate) {
    if (layer == 1) {
        return 384;
    }
    if (layer == 2 || sampleRate >= 32000) {
        return 1152;
    }
    return 576;
}

} // namespace

extern "C" {

PlovexDecoder* DecoderOpen(const char* utf8Path) {
    if (utf8Path == nullptr) {
        return nullptr;
    }
    auto* handle = new (std::nothrow) PlovexDecoder;
    if (handle != nullptr && !handle->decoder.Open(utf8Path)) {
        delete handle;
        return nullptr;
    }
    return handle;
}

int DecoderFormat(PlovexDecoder* handle, int* sampleRate, int* channels, int* samplesPerFrame) {
    if (handle == nullptr) {
        return 0;
    }
    const CMp3Decoder& d = handle->decoder;
    if (sampleRate != nullptr) {
        *sampleRate = d.SampleRate();
    }
    if (channels != nullptr) {
        *channels = d.Channels();
    }
    if (samplesPerFrame != nullptr) {
        *samplesPerFrame = SamplesPerFrame(d.Layer(), d.SampleRate());
    }
    return 1;
}

int DecoderRead(PlovexDecoder* handle, int16_t* pcm, int maxFrames) {
    if (handle == nullptr || pcm == nullptr || maxFrames <= 0) {
        return 0;
    }
    return static_cast<int>(handle->decoder.Read(pcm, static_cast<size_t>(maxFrames)));
}

int DecoderClose(PlovexDecoder* handle) {
    delete handle;
    return 1;
}

} // extern "C"
