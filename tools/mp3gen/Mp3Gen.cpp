#include "Mp3Gen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <lame/lame.h>
#include <memory>

namespace mp3gen {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A C-major arpeggio that loops; each note has a soft attack and release so
// the melody has no clicks.
double MelodyFrequency(double t, double* envelope) {
    static const double notes[] = {261.63, 329.63, 392.00, 523.25, 392.00, 329.63, 293.66, 349.23};
    const double noteLength = 0.4;
    const auto index = static_cast<size_t>(t / noteLength) % (sizeof(notes) / sizeof(notes[0]));
    const double within = std::fmod(t, noteLength);
    *envelope = std::min(1.0, within / 0.02) * std::min(1.0, (noteLength - within) / 0.05);
    return notes[index];
}

// Pink noise (Paul Kellet's filter over white noise from a fixed seed) under a 0.37 Hz
// tremolo: no stretch of it repeats, so a piece of it shows where it came from.
class PinkNoise {
public:
    double Next(double t) {
        seed = seed * 1664525u + 1013904223u;
        const double white = static_cast<double>(seed) / 4294967296.0 * 2.0 - 1.0;
        b0 = 0.99765 * b0 + white * 0.0990460;
        b1 = 0.96300 * b1 + white * 0.2965164;
        b2 = 0.57000 * b2 + white * 1.0526913;
        const double pink = (b0 + b1 + b2 + white * 0.1848) * 0.25;
        return pink * (1.0 - 0.6 * (0.5 + 0.5 * std::sin(2.0 * kPi * 0.37 * t)));
    }

private:
    uint32_t seed = 12345;
    double b0 = 0;
    double b1 = 0;
    double b2 = 0;
};

struct LameCloser {
    void operator()(lame_global_flags* gf) const { lame_close(gf); }
};

} // namespace

std::vector<int16_t> SynthesizePcm(const ToneSpec& params) {
    const auto frames = static_cast<size_t>(params.seconds * params.sampleRate);
    std::vector<int16_t> pcm(frames * static_cast<size_t>(params.channels));
    double phase = 0.0;
    PinkNoise noise;
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / params.sampleRate;
        if (params.noise) {
            const double v = params.amplitude * noise.Next(t);
            const auto s = static_cast<int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0));
            std::fill_n(pcm.begin() + static_cast<long>(i) * params.channels, params.channels, s);
            continue;
        }
        double envelope = 1.0;
        const double f = params.melody ? MelodyFrequency(t, &envelope) : params.frequencyHz;
        phase += 2.0 * kPi * f / params.sampleRate;
        double v = params.amplitude * envelope * std::sin(phase);
        if (params.melody) {
            v += 0.3 * params.amplitude * envelope * std::sin(2.0 * phase);
        }
        const auto s = static_cast<int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0));
        for (int c = 0; c < params.channels; ++c) {
            pcm[i * static_cast<size_t>(params.channels) + static_cast<size_t>(c)] = s;
        }
    }
    return pcm;
}

std::vector<uint8_t> MakeId3v2Tag(uint32_t payloadBytes) {
    std::vector<uint8_t> tag(10 + payloadBytes, 0);
    tag[0] = 'I';
    tag[1] = 'D';
    tag[2] = '3';
    tag[3] = 3;
    tag[6] = static_cast<uint8_t>((payloadBytes >> 21) & 0x7F);
    tag[7] = static_cast<uint8_t>((payloadBytes >> 14) & 0x7F);
    tag[8] = static_cast<uint8_t>((payloadBytes >> 7) & 0x7F);
    tag[9] = static_cast<uint8_t>(payloadBytes & 0x7F);
    return tag;
}

std::vector<uint8_t> EncodeMp3(const std::vector<int16_t>& pcm, const ToneSpec& params) {
    std::unique_ptr<lame_global_flags, LameCloser> gf(lame_init());
    if (!gf) {
        return {};
    }
    lame_set_in_samplerate(gf.get(), params.sampleRate);
    lame_set_out_samplerate(gf.get(), params.sampleRate);
    lame_set_num_channels(gf.get(), params.channels);
    lame_set_mode(gf.get(), params.channels == 1 ? MONO : JOINT_STEREO);
    if (params.vbr) {
        lame_set_VBR(gf.get(), vbr_default);
        lame_set_VBR_quality(gf.get(), 4);
    } else if (params.abr) {
        lame_set_VBR(gf.get(), vbr_abr);
        lame_set_VBR_mean_bitrate_kbps(gf.get(), params.bitrateKbps);
    } else {
        lame_set_VBR(gf.get(), vbr_off);
        lame_set_brate(gf.get(), params.bitrateKbps);
    }
    const bool withTag = params.vbr || params.abr || params.infoTag;
    lame_set_bWriteVbrTag(gf.get(), withTag ? 1 : 0);
    lame_set_quality(gf.get(), 7);
    lame_set_error_protection(gf.get(), params.crc ? 1 : 0);
    lame_set_disable_reservoir(gf.get(), params.noReservoir ? 1 : 0);
    if (lame_init_params(gf.get()) < 0) {
        return {};
    }

    std::vector<uint8_t> out;
    if (params.id3v2PayloadBytes > 0) {
        out = MakeId3v2Tag(static_cast<uint32_t>(params.id3v2PayloadBytes));
    }
    const size_t audioStart = out.size();
    const int frames = static_cast<int>(pcm.size() / static_cast<size_t>(params.channels));
    std::vector<unsigned char> buffer(static_cast<size_t>(1.25 * frames + 7200) + 16384);
    int produced = 0;
    const int chunk = 1152 * 16;
    for (int done = 0; done < frames; done += chunk) {
        const int n = std::min(chunk, frames - done);
        const short* src = pcm.data() + static_cast<size_t>(done) * params.channels;
        if (params.channels == 2) {
            produced =
                lame_encode_buffer_interleaved(gf.get(), const_cast<short*>(src), n, buffer.data(),
                                               static_cast<int>(buffer.size()));
        } else {
            produced = lame_encode_buffer(gf.get(), src, src, n, buffer.data(),
                                          static_cast<int>(buffer.size()));
        }
        if (produced < 0) {
            return {};
        }
        out.insert(out.end(), buffer.begin(), buffer.begin() + produced);
    }
    produced = lame_encode_flush(gf.get(), buffer.data(), static_cast<int>(buffer.size()));
    if (produced > 0) {
        out.insert(out.end(), buffer.begin(), buffer.begin() + produced);
    }
    if (withTag) {
        // The first frame was a placeholder; fill in the Xing or Info header now.
        unsigned char tagFrame[2880];
        const size_t n = lame_get_lametag_frame(gf.get(), tagFrame, sizeof(tagFrame));
        if (n > 0 && audioStart + n <= out.size()) {
            std::copy(tagFrame, tagFrame + n, out.begin() + static_cast<long>(audioStart));
        }
    }
    return out;
}

std::vector<uint8_t> MakeMp3(const ToneSpec& params) {
    return EncodeMp3(SynthesizePcm(params), params);
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        return false;
    }
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        return bytes;
    }
    unsigned char chunk[65536];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof(chunk), f)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    std::fclose(f);
    return bytes;
}

} // namespace mp3gen
