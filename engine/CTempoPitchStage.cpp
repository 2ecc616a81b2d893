#include "CTempoPitchStage.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

int16_t FloatToSample(float value) {
    const double w = std::trunc(static_cast<double>(value) * 32768.0);
    return static_cast<int16_t>(std::clamp(w, -32768.0, 32767.0));
}

} // namespace

void CTempoPitchStage::Configure(int sampleRate, int channelCount) {
    soundTouch.setSampleRate(static_cast<unsigned>(sampleRate));
    soundTouch.setChannels(static_cast<unsigned>(channelCount));
    channels = channelCount;
    soundTouch.setSetting(SETTING_USE_QUICKSEEK, 0);
    soundTouch.setSetting(SETTING_USE_AA_FILTER, 1);
}

bool CTempoPitchStage::SetTempoChange(float percent) {
    if (!(percent >= -50.0f && percent <= 900.0f)) {
        return false;
    }
    soundTouch.setTempoChange(percent);
    tempoChange = percent;
    return true;
}

bool CTempoPitchStage::SetPitch(float factor) {
    if (!(factor >= kMinFactor && factor <= kMaxFactor)) {
        return false;
    }
    soundTouch.setPitch(factor);
    pitch = factor;
    return true;
}

int CTempoPitchStage::ReceiveInto(float* piece, int frames, int16_t* out, int maxValues) {
    int written = 0;
    for (;;) {
        const int maxFrames = std::min(frames, (maxValues - written) / channels);
        if (maxFrames <= 0) {
            break;
        }
        const auto received =
            static_cast<int>(soundTouch.receiveSamples(piece, static_cast<unsigned>(maxFrames)));
        if (received == 0) {
            break;
        }
        const int values = received * channels;
        for (int i = 0; i < values; ++i) {
            out[written + i] = FloatToSample(piece[i]);
        }
        written += values;
    }
    return written;
}

int CTempoPitchStage::Process(int16_t* out, const int16_t* in, int count) {
    // Work area on the heap once per thread: 256 KiB is too much for a worker's stack.
    thread_local std::vector<float> workArea(kWorkAreaFloats);
    count = std::clamp(count, 0, kWorkAreaFloats);
    for (int i = 0; i < count; ++i) {
        workArea[static_cast<size_t>(i)] = static_cast<float>(in[i]) * 0.000030517578125f;
    }
    // The caller's output block holds 1048576 bytes.
    constexpr int kOutCapacity = 1048576 / 2;
    int written = 0;
    for (int start = 0; start < count; start += kPieceValues) {
        float* piece = workArea.data() + start;
        const int frames = std::min(kPieceValues, count - start) / channels;
        soundTouch.putSamples(piece, static_cast<unsigned>(frames));
        written += ReceiveInto(piece, frames, out + written, kOutCapacity - written);
    }
    return written * 2;
}

int CTempoPitchStage::Flush(int16_t* out, int maxSamples) {
    thread_local std::vector<float> piece(kPieceValues);
    soundTouch.flush();
    return ReceiveInto(piece.data(), kPieceValues / channels, out, maxSamples) * 2;
}

void CTempoPitchStage::Clear() {
    soundTouch.clear();
}
