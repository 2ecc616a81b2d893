#pragma once
// Encodes one segment of a cut on an encoder stream of its own and keeps only the MP3
// frames that cover the segment. The stream is fed from a few frames before the segment
// (so the encoder has settled when the segment begins) to a few after it (so its last
// frames see what follows, as in one long encode); with the bit reservoir off every frame
// stands alone, so the kept frames of consecutive segments join into one stream.
#include "EncMp3Interface.h"
#include "EncoderLibrary.h"

#include <cstdint>
#include <vector>

class Mp3SegmentEncoder {
public:
    static constexpr uint64_t kKeepAll = UINT64_MAX;

    // Keeps frames skipFrames .. skipFrames + keepFrames - 1 of the stream's output (counted
    // from 0) in keptFrames, emptied first; kKeepAll keeps everything after the skipped ones.
    // The caller's buffer is reused from segment to segment: the frames of one segment run
    // to megabytes, and fresh buffers of that size each time make the heap grow.
    Mp3SegmentEncoder(const EncoderEntryPoints& library, const BE_CONFIG& config,
                      uint64_t skipFrames, uint64_t keepFrames, std::vector<uint8_t>& keptFrames);
    ~Mp3SegmentEncoder();
    Mp3SegmentEncoder(const Mp3SegmentEncoder&) = delete;
    Mp3SegmentEncoder& operator=(const Mp3SegmentEncoder&) = delete;

    // pcm: interleaved 16-bit samples. False when the encoder refuses them.
    bool Encode(const uint8_t* pcm, uint32_t bytes);
    // Takes the frames the encoder still holds. False on an encoder failure.
    bool Finish();

private:
    bool Take(const uint8_t* bytes, uint32_t size);

    EncoderEntryPoints api;
    BE_CONFIG streamConfig;
    HBE_STREAM stream = 0;
    bool opened = false;
    uint32_t bufferSize = 0;
    std::vector<uint8_t> buffer;  // one call's MP3 bytes
    std::vector<uint8_t> partial; // the start of a frame whose end has not come yet
    std::vector<uint8_t>& kept;   // whole frames, in order
    uint64_t skip;
    uint64_t keep;
    uint64_t framesSeen = 0;
    bool broken = false; // the output held something that is no frame of this stream
};
