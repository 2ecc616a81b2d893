#include "WavBytes.h"

std::vector<uint8_t> MakeWavBytes(const mp3gen::ToneSpec& params) {
    const auto pcm = mp3gen::SynthesizePcm(params);
    const auto dataBytes = static_cast<uint32_t>(pcm.size() * 2);
    std::vector<uint8_t> out;
    const auto put = [&out](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) {
            out.push_back(static_cast<uint8_t>(v >> (8 * i)));
        }
    };
    const auto tag = [&out](const char* s) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<uint8_t>(s[i]));
        }
    };
    const auto ch = static_cast<uint32_t>(params.channels);
    const auto rate = static_cast<uint32_t>(params.sampleRate);
    tag("RIFF");
    put(36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2); // PCM
    put(ch, 2);
    put(rate, 4);
    put(rate * ch * 2, 4);
    put(ch * 2, 2);
    put(16, 2);
    tag("data");
    put(dataBytes, 4);
    const auto* p = reinterpret_cast<const uint8_t*>(pcm.data());
    out.insert(out.end(), p, p + dataBytes);
    return out;
}
