#include "EncoderConfig.h"

#include <cstring>

BE_CONFIG MakeCutEncoderConfig(int sampleRate, int channels) {
    BE_CONFIG config;
    std::memset(&config, 0, sizeof(config));
    config.dwConfig = BE_CONFIG_LAME;
    auto& c = config.format.LHV1;
    c.dwStructVersion = 1;
    c.dwStructSize = sizeof(BE_CONFIG);
    c.dwSampleRate = static_cast<DWORD>(sampleRate);
    c.dwReSampleRate = 0;
    c.nMode = channels == 1 ? BE_MP3_MODE_MONO : BE_MP3_MODE_STEREO;
    c.dwBitrate = 320;
    c.nPreset = LQP_NORMAL_QUALITY;
    c.dwMpegVersion = MPEG1;
    c.bPrivate = 1;
    c.bCRC = 0;
    c.bCopyright = 1;
    c.bOriginal = 1;
    c.bWriteVBRHeader = 0;
    c.bEnableVBR = 0;
    c.bNoRes = 1;
    c.nQuality = 0;
    return config;
}
