#include "EncMp3Api.h"

#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

template <typename T> void Bind(void* library, const char* name, T& entry) {
    entry = reinterpret_cast<T>(dlsym(library, name));
}

EncMp3Api LoadApi() {
    EncMp3Api api;
    // Kept loaded for the whole test run, as the program keeps it.
    void* library = dlopen(ENCMP3_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        return api;
    }
    Bind(library, TEXT_BEINITSTREAM, api.init);
    Bind(library, TEXT_BEENCODECHUNK, api.encode);
    Bind(library, TEXT_BEDEINITSTREAM, api.deinit);
    Bind(library, TEXT_BECLOSESTREAM, api.close);
    Bind(library, TEXT_BEVERSION, api.version);
    Bind(library, TEXT_BEWRITEVBRHEADER, api.writeVbrHeader);
    Bind(library, TEXT_BEWRITEINFOTAG, api.writeInfoTag);
    return api;
}

} // namespace

const EncMp3Api& EncMp3Api::Get() {
    static const EncMp3Api api = LoadApi();
    EXPECT_TRUE(api.init && api.encode && api.deinit && api.close && api.version &&
                api.writeVbrHeader && api.writeInfoTag)
        << "cannot use " << ENCMP3_LIBRARY_PATH;
    return api;
}

BE_CONFIG MakeCutConfig(int sampleRate, int channels) {
    BE_CONFIG config;
    std::memset(&config, 0, sizeof(config));
    config.dwConfig = BE_CONFIG_LAME;
    auto& c = config.format.LHV1;
    c.dwStructVersion = 1;
    c.dwStructSize = sizeof(BE_CONFIG);
    c.dwSampleRate = static_cast<DWORD>(sampleRate);
    c.nMode = channels == 1 ? BE_MP3_MODE_MONO : BE_MP3_MODE_STEREO;
    c.dwBitrate = 320;
    c.nPreset = LQP_NORMAL_QUALITY;
    c.dwMpegVersion = MPEG1;
    c.bPrivate = 1;
    c.bCopyright = 1;
    c.bOriginal = 1;
    c.bNoRes = 1;
    return config;
}

EncodeResult EncodeAll(const BE_CONFIG& config, const std::vector<int16_t>& pcm,
                       size_t chunkFrames) {
    const EncMp3Api& api = EncMp3Api::Get();
    EncodeResult result;
    BE_CONFIG copy = config;
    DWORD samplesPerChunk = 0;
    DWORD minBuffer = 0;
    HBE_STREAM stream = 0;
    if (api.init(&copy, &samplesPerChunk, &minBuffer, &stream) != BE_ERR_SUCCESSFUL) {
        return result;
    }
    const size_t channels = config.format.LHV1.nMode == BE_MP3_MODE_MONO ? 1 : 2;
    std::vector<BYTE> out(kLargestChunkOutput);
    bool ok = true;
    for (size_t at = 0; at < pcm.size() && ok; at += chunkFrames * channels) {
        const size_t n = std::min(chunkFrames * channels, pcm.size() - at);
        DWORD produced = 0;
        ok = api.encode(stream, static_cast<DWORD>(n), &pcm[at], out.data(), &produced) ==
             BE_ERR_SUCCESSFUL;
        result.largestChunkOutput = std::max(result.largestChunkOutput, produced);
        result.mp3.insert(result.mp3.end(), out.begin(), out.begin() + produced);
    }
    // The flush in a buffer of exactly the size beInitStream asked for, as a client that
    // keeps to the interface has: what does not fit comes with the next calls.
    std::vector<BYTE> last(minBuffer);
    for (DWORD produced = 1; ok && produced > 0;) {
        ok = api.deinit(stream, last.data(), &produced) == BE_ERR_SUCCESSFUL &&
             produced <= minBuffer;
        result.mp3.insert(result.mp3.end(), last.begin(), last.begin() + (ok ? produced : 0));
    }
    result.ok = api.close(stream) == BE_ERR_SUCCESSFUL && ok;
    return result;
}
