#pragma once
// The open-time look for MPEG audio: finds where the stream begins, its information
// header, and the header that describes the stream.
#include "Mp3FrameWalk.h"
#include "Mp3Header.h"
#include "Mp3VbrHeader.h"

#include <cstdint>

struct FrameScanResult {
    RawHeader header; // the first audio frame's
    VbrHeader vbr;
    uint32_t audioStart = 0; // file offset of the stream's first frame
};

// Looks for the stream from `start` (see FindStream); Done with found = false when there is none.
WalkEnd ScanFrames(int fd, uint32_t start, uint32_t end, const CancelCheck& cancelled, bool& found,
                   FrameScanResult& out);
