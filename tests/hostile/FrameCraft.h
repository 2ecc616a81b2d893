#pragma once
// MPEG audio frames made by hand: a header and a zero payload, which every layer decodes as
// silence. Enough for a decoder's paths; no encoder needed for Layer I/II or free format.
#include <cstdint>
#include <vector>

struct FrameSpec {
    int version = 1;      // 1, 2 or 25 (MPEG 2.5)
    int layer = 3;        // 1, 2 or 3
    int bitrateIndex = 9; // 0 = free format (then freeBytes is the frame's length)
    int rateIndex = 0;    // 0, 1, 2: 44.1/48/32 kHz for MPEG-1, halved and quartered beyond
    int mode = 3;         // 0 stereo, 1 joint, 2 dual channel, 3 single channel
    bool crc = false;     // a CRC follows the header
    bool badCrc = false;  // ... and it is wrong
    int freeBytes = 0;
};

// Bytes of one frame as the header describes it (free format: params.freeBytes).
uint32_t FrameLength(const FrameSpec& params);
std::vector<uint8_t> MakeFrame(const FrameSpec& params);
std::vector<uint8_t> MakeFrames(const FrameSpec& params, int count);
