#include "EncMp3Api.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>

const EncoderEntryPoints& EncoderUnderTest() {
    static const EncoderEntryPoints none;
    CutResult failure;
    const EncoderEntryPoints* api = LoadEncoderLibrary(ENCMP3_LIBRARY_PATH, failure);
    EXPECT_TRUE(api != nullptr && api->beWriteInfoTag != nullptr)
        << "cannot use " << ENCMP3_LIBRARY_PATH;
    return api != nullptr ? *api : none;
}

EncodeResult EncodeAll(const BE_CONFIG& config, const std::vector<int16_t>& pcm,
                       size_t chunkFrames) {
    const EncoderEntryPoints& api = EncoderUnderTest();
    EncodeResult result;
    BE_CONFIG copy = config;
    DWORD samplesPerChunk = 0;
    DWORD minBuffer = 0;
    HBE_STREAM stream = 0;
    if (api.beInitStream(&copy, &samplesPerChunk, &minBuffer, &stream) != BE_ERR_SUCCESSFUL) {
        return result;
    }
    const size_t channels = config.format.LHV1.nMode == BE_MP3_MODE_MONO ? 1 : 2;
    std::vector<BYTE> out(kLargestChunkOutput);
    bool ok = true;
    for (size_t at = 0; at < pcm.size() && ok; at += chunkFrames * channels) {
        const size_t n = std::min(chunkFrames * channels, pcm.size() - at);
        DWORD produced = 0;
        ok = api.beEncodeChunk(stream, static_cast<DWORD>(n), &pcm[at], out.data(), &produced) ==
             BE_ERR_SUCCESSFUL;
        result.largestChunkOutput = std::max(result.largestChunkOutput, produced);
        result.mp3.insert(result.mp3.end(), out.begin(), out.begin() + produced);
    }
    // The flush in a buffer of exactly the size beInitStream asked for, as a client that
    // keeps to the interface has: what does not fit comes with the next calls.
    std::vector<BYTE> last(minBuffer);
    for (DWORD produced = 1; ok && produced > 0;) {
        ok = api.beDeinitStream(stream, last.data(), &produced) == BE_ERR_SUCCESSFUL &&
             produced <= minBuffer;
        result.mp3.insert(result.mp3.end(), last.begin(), last.begin() + (ok ? produced : 0));
    }
    result.ok = api.beCloseStream(stream) == BE_ERR_SUCCESSFUL && ok;
    return result;
}
