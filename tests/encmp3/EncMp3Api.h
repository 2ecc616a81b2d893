#pragma once
// The encoder library's entry points, loaded with dlopen from the build.
#include "EncMp3Interface.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct EncMp3Api {
    BEINITSTREAM init = nullptr;
    BEENCODECHUNK encode = nullptr;
    BEDEINITSTREAM deinit = nullptr;
    BECLOSESTREAM close = nullptr;
    BEVERSION version = nullptr;
    BEWRITEVBRHEADER writeVbrHeader = nullptr;
    BEWRITEINFOTAG writeInfoTag = nullptr;

    // Loads once per process; fails the calling test when the library is unusable.
    static const EncMp3Api& Get();
};

// Output room for one beEncodeChunk call of the largest chunk the tests pass (400000 frames).
constexpr size_t kLargestChunkOutput = 512000;

// The record as the program fills it for every cut.
BE_CONFIG MakeCutConfig(int sampleRate, int channels);

struct EncodeResult {
    bool ok = false;
    std::vector<uint8_t> mp3;
    DWORD largestChunkOutput = 0; // most bytes one beEncodeChunk call wrote
};

// Encodes all of pcm in calls of chunkFrames sample frames, then flushes and closes.
EncodeResult EncodeAll(const BE_CONFIG& config, const std::vector<int16_t>& pcm,
                       size_t chunkFrames);
