#include "Mp3FrameScan.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace {

// Reads up to one frame's bytes at `off`; how many arrived.
size_t ReadFrameBytes(int fd, uint32_t off, uint32_t end, uint8_t (&bytes)[kMaxFrameBytes]) {
    const size_t want = std::min<size_t>(kMaxFrameBytes, end - off);
    ssize_t got = 0;
    do {
        got = ::pread(fd, bytes, want, static_cast<off_t>(off));
    } while (got < 0 && errno == EINTR);
    return got > 0 ? static_cast<size_t>(got) : 0;
}

} // namespace

WalkEnd ScanFrames(int fd, uint32_t start, uint32_t end, const CancelCheck& cancelled, bool& found,
                   FrameScanResult& out) {
    out = FrameScanResult{};
    const WalkEnd result = FindStream(fd, start, end, cancelled, found, out.audioStart);
    if (result != WalkEnd::Done || !found) {
        return result;
    }
    uint8_t bytes[kMaxFrameBytes];
    size_t got = ReadFrameBytes(fd, out.audioStart, end, bytes);
    if (got < 4 || !ParseRawHeader(bytes, out.header)) {
        return WalkEnd::ReadFailed;
    }
    out.vbr = ParseVbrHeader(bytes, got);
    // An information frame holds no audio: the frame after it describes the stream.
    const uint32_t next = out.audioStart + out.header.frameBytes;
    RawHeader audio;
    if (out.vbr.present && next < end && (got = ReadFrameBytes(fd, next, end, bytes)) >= 4 &&
        ParseRawHeader(bytes, audio)) {
        out.header = audio;
    }
    return WalkEnd::Done;
}
