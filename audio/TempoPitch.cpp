#include "TempoPitch.h"

#include "FactorRange.h"

#include <algorithm>
#include <cmath>

namespace {

// Samples go to SoundTouch in pieces of this many values; the cut's output depends on it.
constexpr size_t kPieceValues = 2048;

int16_t ToSample(float value) {
    const double w = std::trunc(static_cast<double>(value) * 32768.0);
    return static_cast<int16_t>(std::clamp(w, -32768.0, 32767.0));
}

} // namespace

CTempoPitch::CTempoPitch() : piece(kPieceValues) {}

void CTempoPitch::Configure(int sampleRate, int channelCount) {
    soundTouch.setSampleRate(static_cast<unsigned>(sampleRate));
    soundTouch.setChannels(static_cast<unsigned>(channelCount));
    channels = channelCount;
    soundTouch.setSetting(SETTING_USE_QUICKSEEK, 0);
    soundTouch.setSetting(SETTING_USE_AA_FILTER, 1);
}

bool CTempoPitch::SetTempoChange(float percent) {
    if (!(percent >= -50.0f && percent <= 900.0f)) {
        return false;
    }
    soundTouch.setTempoChange(percent);
    tempoChange = percent;
    return true;
}

bool CTempoPitch::SetPitch(float factor) {
    if (!(factor >= kMinFactor && factor <= kMaxFactor)) {
        return false;
    }
    soundTouch.setPitch(factor);
    pitch = factor;
    return true;
}

void CTempoPitch::Put(const int16_t* in, size_t frames) {
    const size_t values = frames * static_cast<size_t>(channels);
    for (size_t start = 0; start < values; start += kPieceValues) {
        const size_t count = std::min(kPieceValues, values - start);
        for (size_t i = 0; i < count; ++i) {
            piece[i] = static_cast<float>(in[start + i]) * 0.000030517578125f;
        }
        soundTouch.putSamples(piece.data(), static_cast<unsigned>(count / channels));
    }
}

size_t CTempoPitch::ReadyFrames() const {
    return soundTouch.numSamples();
}

size_t CTempoPitch::Receive(int16_t* out, size_t maxFrames) {
    const size_t pieceFrames = kPieceValues / static_cast<size_t>(channels);
    size_t received = 0;
    while (received < maxFrames) {
        const auto want = static_cast<unsigned>(std::min(pieceFrames, maxFrames - received));
        const size_t got = soundTouch.receiveSamples(piece.data(), want);
        if (got == 0) {
            break;
        }
        int16_t* to = out + received * static_cast<size_t>(channels);
        for (size_t i = 0; i < got * static_cast<size_t>(channels); ++i) {
            to[i] = ToSample(piece[i]);
        }
        received += got;
    }
    return received;
}

void CTempoPitch::Flush() {
    soundTouch.flush();
}

void CTempoPitch::Clear() {
    soundTouch.clear();
}
