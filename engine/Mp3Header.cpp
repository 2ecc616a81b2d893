#include "Mp3Header.h"

#include <cstring>

namespace {

// kbit/s by [lsf][layer - 1][index]
constexpr int kBitrates[2][3][16] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}}};

constexpr int kRates[3] = {44100, 48000, 32000};

uint32_t FrameBytes(int layer, bool lsf, int bitrate, int sampleRate, int padding) {
    if (layer == 1) {
        return static_cast<uint32_t>((12 * bitrate / sampleRate + padding) * 4);
    }
    const int factor = (layer == 3 && lsf) ? 72 : 144;
    return static_cast<uint32_t>(factor * bitrate / sampleRate + padding);
}

bool SameStream(const uint8_t* a, const uint8_t* b) {
    RawHeader ha;
    RawHeader hb;
    return ParseRawHeader(a, ha) && ParseRawHeader(b, hb) && SameFormat(ha, hb);
}

} // namespace

bool ParseRawHeader(const uint8_t* p, RawHeader& h) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) {
        return false;
    }
    const int versionBits = (p[1] >> 3) & 3;
    const int layerBits = (p[1] >> 1) & 3;
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || bitrateIndex == 15 || rateIndex == 3) {
        return false;
    }
    const bool lsf = versionBits != 3;
    h.versionBits = versionBits;
    h.layer = 4 - layerBits;
    h.rateIndex = rateIndex;
    h.sampleRate = kRates[rateIndex] >> (versionBits == 3 ? 0 : versionBits == 2 ? 1 : 2);
    h.bitrate = kBitrates[lsf ? 1 : 0][h.layer - 1][bitrateIndex] * 1000;
    h.frameBytes =
        h.bitrate ? FrameBytes(h.layer, lsf, h.bitrate, h.sampleRate, (p[2] >> 1) & 1) : 0;
    h.samples = h.layer == 1 ? 384 : (h.layer == 3 && lsf) ? 576 : 1152;
    h.mode = p[3] >> 6;
    return true;
}

bool SameFormat(const RawHeader& a, const RawHeader& b) {
    return a.versionBits == b.versionBits && a.layer == b.layer && a.rateIndex == b.rateIndex;
}

bool DataEndsAt(const uint8_t* p, size_t avail) {
    return avail < 4 || std::memcmp(p, "TAG", 3) == 0 ||
           (avail >= 8 && std::memcmp(p, "APETAGEX", 8) == 0);
}

uint32_t MinFrameBytes(int layer, bool lsf, int sampleRate) {
    if (layer < 1 || layer > 3 || sampleRate <= 0) {
        return 1;
    }
    return FrameBytes(layer, lsf, kBitrates[lsf ? 1 : 0][layer - 1][1] * 1000, sampleRate, 0);
}

bool FollowerConfirms(const uint8_t* frame, const uint8_t* next, size_t nextAvail) {
    // The data may end with this frame (at most a few stray bytes or a tag follow).
    return DataEndsAt(next, nextAvail) || SameStream(frame, next);
}
