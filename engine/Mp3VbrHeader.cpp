#include "Mp3VbrHeader.h"

#include <cstring>

namespace {

uint32_t BigEndian32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

// Bytes of side information after the header: by MPEG version and channel count.
size_t SideInfoBytes(const uint8_t* frame) {
    const bool mpeg1 = ((frame[1] >> 3) & 3) == 3;
    const bool mono = (frame[3] >> 6) == 3;
    if (mpeg1) {
        return mono ? 17 : 32;
    }
    return mono ? 9 : 17;
}

// The encoders whose tag holds the delay and padding where LAME puts them.
bool KnownEncoder(const uint8_t* tag) {
    return std::memcmp(tag, "LAME", 4) == 0 || std::memcmp(tag, "Lavf", 4) == 0 ||
           std::memcmp(tag, "Lavc", 4) == 0 || std::memcmp(tag, "GOGO", 4) == 0 ||
           std::memcmp(tag, "L3.9", 4) == 0;
}

VbrHeader ParseXingOrInfo(const uint8_t* frame, size_t avail, size_t at) {
    VbrHeader h;
    if (at + 8 > avail ||
        (std::memcmp(frame + at, "Xing", 4) != 0 && std::memcmp(frame + at, "Info", 4) != 0)) {
        return h;
    }
    h.present = true;
    const uint32_t flags = BigEndian32(frame + at + 4);
    if ((flags & 1) && at + 12 <= avail) {
        h.frames = BigEndian32(frame + at + 8);
    }
    size_t lame = at + 8;
    lame += (flags & 1) ? 4 : 0;   // frame count
    lame += (flags & 2) ? 4 : 0;   // byte count
    lame += (flags & 4) ? 100 : 0; // table of contents
    lame += (flags & 8) ? 4 : 0;   // quality
    if (lame + 24 <= avail && KnownEncoder(frame + lame)) {
        const uint8_t* p = frame + lame + 21;
        h.gapless = true;
        h.delay = (p[0] << 4) | (p[1] >> 4);
        h.padding = ((p[1] & 0x0F) << 8) | p[2];
    }
    return h;
}

} // namespace

VbrHeader ParseVbrHeader(const uint8_t* frame, size_t avail) {
    if (avail < 4) {
        return {};
    }
    const size_t crc = (frame[1] & 1) ? 0 : 2;
    VbrHeader h = ParseXingOrInfo(frame, avail, 4 + crc + SideInfoBytes(frame));
    if (!h.present && crc != 0) {
        // LAME puts its header where it would be without the CRC, also in a frame that has one.
        h = ParseXingOrInfo(frame, avail, 4 + SideInfoBytes(frame));
    }
    if (!h.present && avail >= 40 && std::memcmp(frame + 36, "VBRI", 4) == 0) {
        h.present = true; // Fraunhofer's header always sits 32 bytes behind the header
    }
    return h;
}
