#pragma once
// MPEG audio frame headers read straight from the bytes, for confirming a
// frame sync and for walking a file without decoding it.
#include <cstddef>
#include <cstdint>

struct RawHeader {
    int versionBits = 0; // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int layer = 0;       // 1, 2 or 3
    int rateIndex = 0;
    int sampleRate = 0;      // Hz
    int bitrate = 0;         // bit/s, 0 for free format
    uint32_t frameBytes = 0; // 0 for free format (length unknown from the header)
    uint32_t samples = 0;    // per channel
    int mode = 0;            // 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
};

// Frames of one stream format: the same MPEG version, layer and sample rate.
bool SameFormat(const RawHeader& a, const RawHeader& b);

// The longest frame any header can describe (Layer II, 160 kbit/s, 8 kHz, padded).
constexpr uint32_t kMaxFrameBytes = 2881;

// False for anything but a valid header (sync, version, layer, bit rate, sample rate).
bool ParseRawHeader(const uint8_t* p, RawHeader& h);

// The shortest frame a stream of this layer, MPEG version (lsf: 2 or 2.5) and rate can hold.
uint32_t MinFrameBytes(int layer, bool lsf, int sampleRate);

// True where the data ends for a frame walk: fewer than 4 bytes left, or an end tag.
bool DataEndsAt(const uint8_t* p, size_t avail);

// A frame found at `frame` is believed when what follows it at `next` is a header of
// the same stream, an end tag, or the end of the data (`nextAvail` bytes remain).
bool FollowerConfirms(const uint8_t* frame, const uint8_t* next, size_t nextAvail);
