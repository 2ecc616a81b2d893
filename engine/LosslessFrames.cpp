#include "LosslessFrames.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kXingBytes = 120; // tag, flags, frames, bytes, table of contents, quality
constexpr size_t kLameBytes = 36;  // LAME's extension, its CRC last

bool IsMpeg1(const uint8_t* header) {
    return ((header[1] >> 3) & 3) == 3;
}

uint32_t SideInfoBytes(const uint8_t* header) {
    const bool mono = (header[3] >> 6) == 3;
    if (IsMpeg1(header)) {
        return mono ? 17 : 32;
    }
    return mono ? 9 : 17;
}

// The header without CRC or padding, its bit rate raised until a frame holds `need` bytes;
// false when even the highest does not.
bool FitBitrate(uint8_t (&h)[4], uint32_t need, RawHeader& parsed) {
    h[1] |= 0x01;           // no CRC
    h[2] &= ~uint8_t{0x02}; // no padding
    for (int index = std::max(1, h[2] >> 4); index <= 14; ++index) {
        h[2] = static_cast<uint8_t>((h[2] & 0x0F) | (index << 4));
        if (ParseRawHeader(h, parsed) && parsed.frameBytes >= need) {
            return true;
        }
    }
    return false;
}

void PutBigEndian(uint8_t* p, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        p[i] = static_cast<uint8_t>(value);
        value >>= 8;
    }
}

} // namespace

bool ReadLayer3Frame(const uint8_t* p, size_t avail, Layer3Frame& out) {
    if (avail < 4 || !ParseRawHeader(p, out.header) || out.header.layer != 3) {
        return false;
    }
    const uint32_t crc = (p[1] & 1) ? 0 : 2;
    out.mainDataAt = 4 + crc + SideInfoBytes(p);
    if (avail < out.mainDataAt) {
        return false;
    }
    const uint8_t* side = p + 4 + crc;
    out.mainDataBegin =
        IsMpeg1(p) ? (static_cast<uint32_t>(side[0]) << 1) | (side[1] >> 7) : side[0];
    return true;
}

uint16_t LameCrc16(const uint8_t* data, size_t size, uint16_t crc) {
    static const auto table = [] {
        std::array<uint16_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int bit = 0; bit < 8; ++bit) {
                c = (c & 1) ? (c >> 1) ^ 0xA001 : c >> 1; // 0x8005 bit-reversed
            }
            t[i] = static_cast<uint16_t>(c);
        }
        return t;
    }();
    for (size_t i = 0; i < size; ++i) {
        crc = static_cast<uint16_t>((crc >> 8) ^ table[(crc ^ data[i]) & 0xFF]);
    }
    return crc;
}

std::vector<uint8_t> MakeCarrierFrame(const uint8_t* header,
                                      const std::vector<uint8_t>& reservoir) {
    uint8_t h[4] = {header[0], header[1], header[2], header[3]};
    RawHeader parsed;
    const uint32_t side = SideInfoBytes(h);
    if (!FitBitrate(h, 4 + side + static_cast<uint32_t>(reservoir.size()), parsed)) {
        return {};
    }
    // All-zero side information: no granule has any bits, so it decodes as silence.
    std::vector<uint8_t> frame(parsed.frameBytes, 0);
    std::memcpy(frame.data(), h, 4);
    std::copy(reservoir.begin(), reservoir.end(),
              frame.end() - static_cast<long>(reservoir.size()));
    return frame;
}

uint32_t GaplessFrameBytes(const uint8_t* header) {
    uint8_t h[4] = {header[0], header[1], header[2], header[3]};
    RawHeader parsed;
    return FitBitrate(h, static_cast<uint32_t>(4 + SideInfoBytes(h) + kXingBytes + kLameBytes),
                      parsed)
               ? parsed.frameBytes
               : 0;
}

std::vector<uint8_t> MakeGaplessFrame(const uint8_t* header, const GaplessInfo& info) {
    uint8_t h[4] = {header[0], header[1], header[2], header[3]};
    RawHeader parsed;
    const size_t xing = 4 + SideInfoBytes(h);
    if (!FitBitrate(h, static_cast<uint32_t>(xing + kXingBytes + kLameBytes), parsed)) {
        return {};
    }
    std::vector<uint8_t> frame(parsed.frameBytes, 0);
    std::memcpy(frame.data(), h, 4);
    uint8_t* x = frame.data() + xing;
    std::memcpy(x, info.oneBitrate ? "Info" : "Xing", 4);
    PutBigEndian(x + 4, 0x0F, 4); // frames, bytes, table of contents and quality follow
    PutBigEndian(x + 8, info.frames, 4);
    PutBigEndian(x + 12, info.streamBytes, 4);
    std::copy(info.toc.begin(), info.toc.end(), x + 16);
    // Quality (x + 116) stays 0: the frames were not encoded here.
    uint8_t* lame = x + kXingBytes;
    // A version that starts with "LAME": some players read the delay and padding only then.
    std::memcpy(lame, "LAME3.100", 9);
    lame[9] = info.oneBitrate ? 1 : 0; // revision 0; constant bit rate, or unknown
    // Lowpass, peak, both replay gains and the encoding flags stay 0: not known here.
    lame[20] = static_cast<uint8_t>(std::clamp(info.kbps, 0, 255));
    const int delay = std::clamp(info.delay, 0, 4095);
    const int padding = std::clamp(info.padding, 0, 4095);
    lame[21] = static_cast<uint8_t>(delay >> 4);
    lame[22] = static_cast<uint8_t>(((delay & 0x0F) << 4) | (padding >> 8));
    lame[23] = static_cast<uint8_t>(padding);
    PutBigEndian(lame + 28, info.streamBytes, 4);
    PutBigEndian(lame + 32, info.musicCrc, 2);
    const auto tagEnd = static_cast<size_t>(lame + 34 - frame.data());
    PutBigEndian(lame + 34, LameCrc16(frame.data(), tagEnd), 2);
    return frame;
}
