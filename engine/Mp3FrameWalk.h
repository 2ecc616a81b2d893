#pragma once
// Measures a file's playing time by walking its frame headers, without decoding.
#include <cstdint>
#include <mad.h>

struct FrameWalkResult {
    mad_timer_t duration = mad_timer_zero;
    uint32_t frames = 0;
};

// Walks from `start` to `fileSize` in 40000-byte reads (pread: the file offset is
// left alone). False on a read error.
bool WalkFrameHeaders(int fd, uint32_t start, uint32_t fileSize, FrameWalkResult& out);
