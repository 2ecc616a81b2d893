#pragma once
// One MP3 file decoded by libmpg123 into interleaved signed 16-bit frames at the file's own
// rate and channel count. Gapless (the encoder's delay and padding are cut as libmpg123 does by
// default), exact length from a full scan, sample-accurate seeks.
#include "FileSource.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <sys/types.h>

struct mpg123_handle_struct;

class CMp3Decoder {
public:
    CMp3Decoder() = default;
    ~CMp3Decoder();
    CMp3Decoder(const CMp3Decoder&) = delete;
    CMp3Decoder& operator=(const CMp3Decoder&) = delete;

    // False for a missing file, one without decodable MPEG audio, or one of no length.
    bool Open(const std::string& path);

    int SampleRate() const { return sampleRate; }
    int Channels() const { return channels; }
    int Layer() const { return layer; }
    int64_t LengthFrames() const { return lengthFrames; }
    int64_t PositionFrames() const { return positionFrames; }

    // Moves to the frame (clamped to the length) so the next Read starts exactly there.
    bool SeekFrame(int64_t frame);
    // Up to maxFrames frames into out (room for maxFrames * Channels() values). 0 at the end.
    size_t Read(int16_t* out, size_t maxFrames);

private:
    void Close();
    bool OpenStream();
    off_t FormatChange();

    mpg123_handle_struct* handle = nullptr;
    std::unique_ptr<CFileSource> source;
    int sampleRate = 0;
    int channels = 0;
    int layer = 0;
    int64_t lengthFrames = 0;
    int64_t positionFrames = 0;
};
