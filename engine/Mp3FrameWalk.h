#pragma once
// Finds every frame of a file by walking its frame headers, without decoding: the
// frame count gives the exact length and the offsets are the seek index.
#include <cstdint>
#include <vector>

struct FrameIndex {
    std::vector<uint32_t> offsets; // file offset of every frame, in order
    uint32_t samplesPerFrame = 0;  // per channel
    int sampleRate = 0;
};

// Walks from the frame at `start` to `end` in 40000-byte reads (pread: the file offset is
// left alone), keeping the frames of the stream that frame belongs to. False on a read error.
bool WalkFrameHeaders(int fd, uint32_t start, uint32_t end, FrameIndex& out);
