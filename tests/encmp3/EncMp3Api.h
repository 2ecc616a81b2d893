#pragma once
// The encoder library's entry points, loaded from the build as the program loads them, and
// the record every cut is encoded with.
#include "EncoderConfig.h"
#include "EncoderLibrary.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The library under test, bound by the program's own loader (kept loaded for the run, as
// the program keeps it); fails the calling test when it is unusable.
const EncoderEntryPoints& EncoderUnderTest();

// Output room for one beEncodeChunk call of the largest chunk the tests pass (400000 frames).
constexpr size_t kLargestChunkOutput = 512000;

struct EncodeResult {
    bool ok = false;
    std::vector<uint8_t> mp3;
    DWORD largestChunkOutput = 0; // most bytes one beEncodeChunk call wrote
};

// Encodes all of pcm in calls of chunkFrames sample frames, then flushes and closes.
EncodeResult EncodeAll(const BE_CONFIG& config, const std::vector<int16_t>& pcm,
                       size_t chunkFrames);
