#pragma once
// The two frames a lossless cut makes itself: the information frame that tells a gapless
// player where the cut's samples begin and end, and the silent frame that carries the bit
// reservoir the cut's first copied frame reaches back into.
#include "Mp3Header.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// Where a Layer III frame's main data lies, and how far back into earlier frames it begins.
struct Layer3Frame {
    RawHeader header;
    uint32_t mainDataAt = 0;    // bytes of header, CRC and side information before it
    uint32_t mainDataBegin = 0; // bytes of the reservoir it takes from earlier frames
};

// False unless p holds a whole Layer III frame header and its side information.
bool ReadLayer3Frame(const uint8_t* p, size_t avail, Layer3Frame& out);

// CRC-16 with polynomial 0x8005 as LAME computes it for its tag (bit-reversed, from crc).
uint16_t LameCrc16(const uint8_t* data, size_t size, uint16_t crc = 0);

// A frame that decodes as silence and ends with `reservoir` as its last main-data bytes,
// made from `header` (the frame it stands in for) without CRC or padding, its bit rate
// raised until the bytes fit. Empty when no bit rate holds them.
std::vector<uint8_t> MakeCarrierFrame(const uint8_t* header, const std::vector<uint8_t>& reservoir);

struct GaplessInfo {
    bool oneBitrate = false;  // every audio frame has one bit rate: an "Info" frame
    uint32_t frames = 0;      // audio frames after the information frame
    uint32_t streamBytes = 0; // all frames, the information frame included
    std::array<uint8_t, 100> toc{};
    int delay = 0;         // samples a gapless player drops at the start
    int padding = 0;       // ... and at the end
    int kbps = 0;          // the audio's bit rate, for the tag
    uint16_t musicCrc = 0; // LameCrc16 of the audio frames
};

// Bytes of the information frame made from `header`; 0 when no bit rate holds it.
uint32_t GaplessFrameBytes(const uint8_t* header);
// The information frame ("Info" or "Xing" with a LAME tag) made from `header`.
std::vector<uint8_t> MakeGaplessFrame(const uint8_t* header, const GaplessInfo& info);
