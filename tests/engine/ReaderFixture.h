#pragma once
// Helpers for the reader's tests: generated MP3 files, whole-file reads and
// byte patches of the fixtures.
#include "AudioMatch.h"
#include "CMp3File.h"
#include "Mp3Check.h"
#include "Mp3Gen.h"
#include "TempDir.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace readertest {

inline mp3gen::ToneSpec Tone(int rate, int channels, double seconds, bool vbr = false) {
    mp3gen::ToneSpec params;
    params.sampleRate = rate;
    params.channels = channels;
    params.seconds = seconds;
    params.vbr = vbr;
    return params;
}

inline mp3gen::ToneSpec Melody(int rate, int channels, double seconds, bool vbr = false) {
    mp3gen::ToneSpec params = Tone(rate, channels, seconds, vbr);
    params.melody = true;
    return params;
}

// A stream format for the table tests: CBR at kbps, or VBR with a LAME tag.
struct Format {
    int rate;
    int channels;
    int kbps;
    bool vbr;
};

inline mp3gen::ToneSpec FormatSpec(const Format& f, double seconds) {
    mp3gen::ToneSpec params = Tone(f.rate, f.channels, seconds, f.vbr);
    params.bitrateKbps = f.kbps;
    return params;
}

inline std::string WriteBytes(const TempDir& dir, const std::string& name,
                              const std::vector<uint8_t>& bytes) {
    const std::string path = dir.File(name);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

// The bytes written to a file of their own and a reader opened on it, with what it reports.
struct OpenedFile {
    explicit OpenedFile(const std::vector<uint8_t>& bytes, const std::string& name = "a.mp3")
        : path(WriteBytes(dir, name, bytes)), opened(reader.Open(path.c_str()) == 1) {
        reader.GetInfo(info);
    }

    TempDir dir;
    std::string path;
    CMp3File reader;
    bool opened;
    AudioInfo info;
};

// Samples per frame of a Layer III stream at this rate.
inline int SamplesPerFrame(int rate) {
    return rate >= 32000 ? 1152 : 576;
}

// Everything the reader delivers from its current position, in blocks of `block` bytes.
struct Delivered {
    std::vector<int16_t> pcm;
    int channels = 2;
    uint32_t lastBytes = 0; // bytes of the last block that delivered anything
    int finalResult = -1;   // result of the call that delivered nothing
    size_t Frames() const { return pcm.size() / static_cast<size_t>(channels); }
};

inline Delivered ReadToEnd(CMp3File& reader, int channels, uint32_t block = 20480) {
    Delivered d;
    d.channels = channels;
    std::vector<uint8_t> buf(block);
    for (;;) {
        uint32_t bytes = block;
        const int r = reader.Read(buf.data(), bytes);
        if (bytes == 0) {
            d.finalResult = r;
            return d;
        }
        d.lastBytes = bytes;
        const auto* s = reinterpret_cast<const int16_t*>(buf.data());
        d.pcm.insert(d.pcm.end(), s, s + bytes / 2);
    }
}

inline std::vector<int16_t> ReadFrames(CMp3File& reader, int channels, size_t frames) {
    std::vector<int16_t> pcm(frames * static_cast<size_t>(channels));
    auto bytes = static_cast<uint32_t>(pcm.size() * 2);
    reader.Read(reinterpret_cast<uint8_t*>(pcm.data()), bytes);
    pcm.resize(bytes / 2);
    return pcm;
}

// Offset of "Xing" in the first frame, or npos.
inline size_t FindXing(const std::vector<uint8_t>& bytes) {
    const char tag[] = "Xing";
    const auto it = std::search(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 200),
                                tag, tag + 4);
    return it == bytes.begin() + std::min<size_t>(bytes.size(), 200)
               ? std::string::npos
               : static_cast<size_t>(it - bytes.begin());
}

inline void PutBE32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (24 - 8 * i));
    }
}

} // namespace readertest
