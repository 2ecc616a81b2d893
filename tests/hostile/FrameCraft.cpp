#include "FrameCraft.h"

#include <cstddef>

namespace {

// kbit/s by [MPEG-1 ? 0 : 1][layer - 1][index]
constexpr int kKbps[2][3][15] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}};

int SampleRate(const FrameSpec& s) {
    constexpr int kBase[3] = {44100, 48000, 32000};
    return kBase[s.rateIndex] / (s.version == 1 ? 1 : s.version == 2 ? 2 : 4);
}

int SideInfoBytes(const FrameSpec& s) {
    const bool mono = s.mode == 3;
    if (s.version == 1) {
        return mono ? 17 : 32;
    }
    return mono ? 9 : 17;
}

// CRC-16 of MPEG audio (polynomial 0x8005, start 0xFFFF) over header bytes 2-3 and the side
// information, as a decoder checks it for Layer III.
uint16_t Crc16(const std::vector<uint8_t>& frame, int sideInfoBytes) {
    uint16_t crc = 0xFFFF;
    const auto feed = [&crc](uint8_t byte) {
        for (int bit = 7; bit >= 0; --bit) {
            const bool top = ((crc >> 15) & 1) != ((byte >> bit) & 1);
            crc = static_cast<uint16_t>(crc << 1);
            if (top) {
                crc ^= 0x8005;
            }
        }
    };
    feed(frame[2]);
    feed(frame[3]);
    for (int i = 0; i < sideInfoBytes; ++i) {
        feed(frame[6 + static_cast<size_t>(i)]);
    }
    return crc;
}

} // namespace

uint32_t FrameLength(const FrameSpec& s) {
    if (s.bitrateIndex == 0) {
        return static_cast<uint32_t>(s.freeBytes);
    }
    const int bps = kKbps[s.version == 1 ? 0 : 1][s.layer - 1][s.bitrateIndex] * 1000;
    const int rate = SampleRate(s);
    if (s.layer == 1) {
        return static_cast<uint32_t>(12 * bps / rate * 4);
    }
    const int factor = (s.layer == 3 && s.version != 1) ? 72 : 144;
    return static_cast<uint32_t>(factor * bps / rate);
}

std::vector<uint8_t> MakeFrame(const FrameSpec& s) {
    std::vector<uint8_t> f(FrameLength(s), 0);
    const int versionBits = s.version == 1 ? 3 : s.version == 2 ? 2 : 0;
    f[0] = 0xFF;
    f[1] = static_cast<uint8_t>(0xE0 | versionBits << 3 | (4 - s.layer) << 1 | (s.crc ? 0 : 1));
    f[2] = static_cast<uint8_t>(s.bitrateIndex << 4 | s.rateIndex << 2);
    f[3] = static_cast<uint8_t>(s.mode << 6);
    if (s.crc && s.layer == 3) {
        uint16_t crc = Crc16(f, SideInfoBytes(s));
        if (s.badCrc) {
            crc = static_cast<uint16_t>(~crc);
        }
        f[4] = static_cast<uint8_t>(crc >> 8);
        f[5] = static_cast<uint8_t>(crc & 0xFF);
    }
    return f;
}

std::vector<uint8_t> MakeFrames(const FrameSpec& params, int count) {
    const std::vector<uint8_t> one = MakeFrame(params);
    std::vector<uint8_t> out;
    out.reserve(one.size() * static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        out.insert(out.end(), one.begin(), one.end());
    }
    return out;
}
