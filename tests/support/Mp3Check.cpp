#include "Mp3Check.h"

#include <algorithm>
#include <cmath>
#include <mpg123.h>

DecodedAudio DecodeMp3File(const std::string& path, bool gapless) {
    DecodedAudio out;
    static const bool initialised = [] {
        mpg123_init();
        return true;
    }();
    (void)initialised;
    int err = 0;
    mpg123_handle* mh = mpg123_new(nullptr, &err);
    if (!mh) {
        return out;
    }
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    if (!gapless) {
        mpg123_param(mh, MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0);
        mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_IGNORE_INFOFRAME, 0);
    }
    if (mpg123_open(mh, path.c_str()) != MPG123_OK) {
        mpg123_delete(mh);
        return out;
    }
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(mh, &rate, &channels, &encoding) != MPG123_OK) {
        mpg123_close(mh);
        mpg123_delete(mh);
        return out;
    }
    mpg123_format_none(mh);
    mpg123_format(mh, rate, channels, MPG123_ENC_SIGNED_16);
    out.sampleRate = static_cast<int>(rate);
    out.channels = channels;
    unsigned char buffer[65536];
    size_t done = 0;
    for (;;) {
        const int r = mpg123_read(mh, buffer, sizeof(buffer), &done);
        const auto* s = reinterpret_cast<const int16_t*>(buffer);
        out.pcm.insert(out.pcm.end(), s, s + done / 2);
        if (r == MPG123_DONE || (r != MPG123_OK && r != MPG123_NEW_FORMAT)) {
            out.ok = (r == MPG123_DONE);
            break;
        }
    }
    mpg123_close(mh);
    mpg123_delete(mh);
    return out;
}

namespace {

bool ParseHeader(const uint8_t* p, FrameHeader& h) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) {
        return false;
    }
    const int versionBits = (p[1] >> 3) & 3;
    const int layerBits = (p[1] >> 1) & 3;
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 ||
        rateIndex == 3) {
        return false;
    }
    static const int kRates[3] = {44100, 48000, 32000};
    static const int kBitratesV1L3[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                          112, 128, 160, 192, 224, 256, 320, 0};
    static const int kBitratesV2L3[16] = {0,  8,  16, 24,  32,  40,  48,  56,
                                          64, 80, 96, 112, 128, 144, 160, 0};
    h.mpegVersion = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
    h.layer = 4 - layerBits;
    if (h.layer != 3) {
        return false; // only Layer III is checked here
    }
    h.sampleRate = kRates[rateIndex] / (h.mpegVersion == 1 ? 1 : h.mpegVersion == 2 ? 2 : 4);
    h.bitrateKbps = (h.mpegVersion == 1 ? kBitratesV1L3 : kBitratesV2L3)[bitrateIndex];
    const bool padding = (p[2] >> 1) & 1;
    h.privateBit = p[2] & 1;
    h.crc = (p[1] & 1) == 0;
    h.channelMode = p[3] >> 6;
    h.copyright = (p[3] >> 3) & 1;
    h.original = (p[3] >> 2) & 1;
    const int coefficient = h.mpegVersion == 1 ? 144 : 72;
    h.length = static_cast<size_t>(coefficient * h.bitrateKbps * 1000 / h.sampleRate) + padding;
    return true;
}

} // namespace

FrameWalk WalkFrames(const std::vector<uint8_t>& file) {
    FrameWalk walk;
    size_t pos = 0;
    // A cut carries its source's tags in an ID3v2 tag before the frames.
    if (file.size() >= 10 && file[0] == 'I' && file[1] == 'D' && file[2] == '3') {
        pos = 10 + (size_t{file[6]} << 21 | size_t{file[7]} << 14 | size_t{file[8]} << 7 | file[9]);
    }
    while (pos + 4 <= file.size()) {
        FrameHeader h;
        if (!ParseHeader(&file[pos], h) || pos + h.length > file.size()) {
            break;
        }
        h.offset = pos;
        walk.frames.push_back(h);
        pos += h.length;
    }
    walk.audioEnd = pos;
    walk.hasId3v1 = file.size() == pos + 128 && file[pos] == 'T' && file[pos + 1] == 'A' &&
                    file[pos + 2] == 'G';
    walk.clean = walk.hasId3v1;
    return walk;
}

double EstimateFrequency(const DecodedAudio& audio, double fromSec, double toSec) {
    const auto ch = static_cast<size_t>(audio.channels);
    const auto from = static_cast<size_t>(fromSec * audio.sampleRate);
    const auto to = std::min(audio.Frames(), static_cast<size_t>(toSec * audio.sampleRate));
    long first = -1;
    long last = -1;
    int crossings = 0;
    for (size_t i = from + 1; i < to; ++i) {
        if (audio.pcm[(i - 1) * ch] < 0 && audio.pcm[i * ch] >= 0) {
            if (first < 0) {
                first = static_cast<long>(i);
            } else {
                ++crossings;
            }
            last = static_cast<long>(i);
        }
    }
    if (crossings == 0) {
        return 0.0;
    }
    return crossings * static_cast<double>(audio.sampleRate) / static_cast<double>(last - first);
}

double Rms(const DecodedAudio& audio, double fromSec, double toSec) {
    const auto ch = static_cast<size_t>(audio.channels);
    const auto from = static_cast<size_t>(std::max(0.0, fromSec) * audio.sampleRate);
    const auto to = std::min(audio.Frames(), static_cast<size_t>(toSec * audio.sampleRate));
    if (to <= from) {
        return 0.0;
    }
    double sum = 0.0;
    for (size_t i = from; i < to; ++i) {
        const double v = audio.pcm[i * ch] / 32768.0;
        sum += v * v;
    }
    return std::sqrt(sum / static_cast<double>(to - from));
}

bool AllCutFrames(const FrameWalk& walk, int sampleRate, int channelMode) {
    return std::all_of(walk.frames.begin(), walk.frames.end(), [&](const FrameHeader& f) {
        return f.mpegVersion == 1 && f.layer == 3 && f.bitrateKbps == 320 &&
               f.sampleRate == sampleRate && (channelMode < 0 || f.channelMode == channelMode);
    });
}
