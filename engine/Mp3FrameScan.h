#pragma once
// The open-time look for MPEG audio: finds the first believable frame, its
// information header, and the header that describes the stream.
#include "Mp3VbrHeader.h"

#include <cstdint>
#include <mad.h>

struct FrameScanResult {
    mad_header header{};
    VbrHeader vbr;
    uint32_t audioStart = 0; // file offset of the first believable frame
};

// Scans the file from `start` with its own 8192-byte buffer and libmad stream.
bool ScanFrames(int fd, uint32_t start, FrameScanResult& out);
