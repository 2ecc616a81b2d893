#include "TempoPitch.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

static_assert(std::is_same_v<soundtouch::SAMPLETYPE, float>,
              "SoundTouch must use floating-point samples");

namespace {

constexpr float kToFloat = 1.0f / 32768.0f;
constexpr size_t kPieceFrames = 2048;

int16_t ToSample(float value) {
    const double scaled = std::trunc(static_cast<double>(value) * 32768.0);
    return static_cast<int16_t>(std::clamp(scaled, -32768.0, 32767.0));
}

} // namespace

void CTempoPitch::Configure(int sampleRate, int channelCount) {
    channels = channelCount;
    soundTouch.setSampleRate(static_cast<unsigned>(sampleRate));
    soundTouch.setChannels(static_cast<unsigned>(channelCount));
    soundTouch.setSetting(SETTING_USE_QUICKSEEK, 0);
    soundTouch.setSetting(SETTING_USE_AA_FILTER, 1);
    soundTouch.clear();
}

void CTempoPitch::SetFactors(double tempo, double pitch) {
    soundTouch.setTempo(tempo);
    soundTouch.setPitch(pitch);
}

void CTempoPitch::Process(const int16_t* in, size_t frames, std::vector<int16_t>& out) {
    const size_t values = frames * static_cast<size_t>(channels);
    work.resize(values);
    for (size_t i = 0; i < values; ++i) {
        work[i] = static_cast<float>(in[i]) * kToFloat;
    }
    soundTouch.putSamples(work.data(), static_cast<unsigned>(frames));
    Drain(out);
}

void CTempoPitch::Flush(std::vector<int16_t>& out) {
    soundTouch.flush();
    Drain(out);
}

void CTempoPitch::Clear() {
    soundTouch.clear();
}

void CTempoPitch::Drain(std::vector<int16_t>& out) {
    work.resize(kPieceFrames * static_cast<size_t>(channels));
    for (;;) {
        const unsigned received =
            soundTouch.receiveSamples(work.data(), static_cast<unsigned>(kPieceFrames));
        if (received == 0) {
            break;
        }
        const size_t values = received * static_cast<size_t>(channels);
        for (size_t i = 0; i < values; ++i) {
            out.push_back(ToSample(work[i]));
        }
    }
}
