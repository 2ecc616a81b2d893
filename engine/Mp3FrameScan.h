#pragma once
// The open-time look for MPEG audio: finds the first believable frame, its
// Xing header, and the header that describes the stream.
#include "XingInfo.h"

#include <cstdint>
#include <mad.h>

struct FrameScanResult {
    mad_header header{};
    XingInfo xing;
    uint32_t audioStart = 0; // file offset of the first believable frame
};

// Scans the file from `start` with its own 8192-byte buffer and libmad stream.
bool ScanFrames(int fd, uint32_t start, FrameScanResult& out);

// Reads a Xing header from a frame's ancillary bits; on failure `xing.flags` is 0.
bool ParseXing(mad_bitptr ptr, unsigned int bitlen, XingInfo& xing);
