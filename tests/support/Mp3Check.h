#pragma once
// Independent checks of MP3 output: decode with libmpg123 (not the engine's
// libmad) and walk the frame headers.
#include <cstdint>
#include <string>
#include <vector>

struct DecodedAudio {
    bool ok = false;
    int sampleRate = 0;
    int channels = 0;
    std::vector<int16_t> pcm; // interleaved

    size_t Frames() const { return channels ? pcm.size() / static_cast<size_t>(channels) : 0; }
    double Seconds() const { return sampleRate ? static_cast<double>(Frames()) / sampleRate : 0; }
};

// gapless = false: as a player that ignores the information frame hears it.
DecodedAudio DecodeMp3File(const std::string& path, bool gapless = true);

struct FrameHeader {
    int mpegVersion = 0; // 1, 2, or 25 for MPEG 2.5
    int layer = 0;
    int bitrateKbps = 0;
    int sampleRate = 0;
    int channelMode = 0; // 0 stereo, 1 joint, 2 dual, 3 mono
    bool crc = false;
    bool privateBit = false;
    bool copyright = false;
    bool original = false;
    size_t offset = 0;
    size_t length = 0;
};

struct FrameWalk {
    std::vector<FrameHeader> frames;
    size_t audioEnd = 0;   // offset after the last whole frame
    bool hasId3v1 = false; // the file ends with a 128-byte "TAG" block right after the frames
    bool clean = false;    // frames back to back from the start (or an ID3v2 tag), then the tag
};

FrameWalk WalkFrames(const std::vector<uint8_t>& file);
// Every frame is one a cut writes: MPEG-1 Layer III at 320 kbit/s and sampleRate, in
// channelMode (any when -1).
bool AllCutFrames(const FrameWalk& walk, int sampleRate, int channelMode = -1);

// Frequency of a steady tone by counting rising zero crossings of one channel.
double EstimateFrequency(const DecodedAudio& audio, double fromSec, double toSec);
// RMS of the first channel over [fromSec, toSec), full scale = 1.0.
double Rms(const DecodedAudio& audio, double fromSec, double toSec);
