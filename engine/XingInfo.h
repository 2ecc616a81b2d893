#pragma once
#include <cstdint>

// A Xing header from the first frame of a VBR file.
struct XingInfo {
    int flags = 0; // bit 0 frames, bit 1 bytes, bit 2 toc, bit 3 scale; 0 = no Xing header
    uint32_t frames = 0;
    uint32_t bytes = 0;
    uint8_t toc[100] = {};
    int scale = 0;
};
