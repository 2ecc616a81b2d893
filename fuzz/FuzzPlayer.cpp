// The player library's open, seek and decode over arbitrary bytes, through its exports as the
// program calls them. No sound card: the library's own silent output keeps time, unless
// SDL_AUDIODRIVER names a driver (SDL_AUDIODRIVER=dummy goes through SDL, about 40 times slower).
#include "FuzzInput.h"
#include "FuzzTempFile.h"
#include "Plovex1.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

std::atomic<long> heardSamples{0};

void CountPcm(const int16_t* /*pcm*/, int samples, int channels, int rate, void* /*user*/) {
    FuzzCheck(samples >= 0 && channels >= 1 && channels <= 2 && rate > 0, "sane PCM blocks");
    heardSamples += samples;
}

// Lets the feeder decode until some PCM came out, the playback ended or a few milliseconds
// passed.
void LetItPlay(long samples) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(10);
    const long target = heardSamples.load() + samples;
    while (heardSamples.load() < target && GetState() == PLOVEX_STATE_PLAYING &&
           std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

void CheckPosition() {
    const int pos = GetPos();
    FuzzCheck(pos >= 0 && pos <= GetLen(), "the position lies inside the file");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    setenv("SDL_AUDIODRIVER", "tesmira-no-device", 0);
    SetOutPCMFun(CountPcm, nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzTempFile file("player");
    const FuzzInput in(data, size, 4);
    if (!file.Write(in.FileData(), in.FileSize())) {
        return 0;
    }
    if (!Open(file.Path())) {
        FuzzCheck(IsOpend() == 0 && GetLen() == 0, "a refused file leaves nothing open");
        return 0;
    }
    const int len = GetLen();
    FuzzCheck(len >= 0, "the length is not negative");
    FuzzCheck(GetAduioChannels() == 1 || GetAduioChannels() == 2, "one or two channels");
    FuzzCheck(GetAudioSamplesPerSec() > 0, "a sample rate");
    if (in.Param(3) & 1) {
        SetRate(0.9 + (in.Param(3) >> 4) * 0.0133);
        SetPitch(0.8 + (in.Param(3) >> 1 & 7) * 0.05);
    }
    SetPos(static_cast<int>(in.Fraction(0) * len));
    Play();
    LetItPlay(4096);
    CheckPosition();
    SetPos(static_cast<int>(in.Param(2) / 255.0 * len));
    LetItPlay(2048);
    CheckPosition();
    Pause();
    SetRate(1.0);
    SetPitch(1.0);
    Close();
    return 0;
}
