#pragma once
// Reads one MP3 file with libmad and delivers dithered 16-bit PCM on the timeline a
// gapless player shows: the encoder's delay and padding and any information frame
// left out. Every frame is found at open, so the duration is exact and a seek lands
// on the sample.
#include "AudioInfo.h"
#include "Mp3Dither.h"
#include "Mp3FrameWalk.h"
#include "Mp3Header.h"
#include "Mp3VbrHeader.h"

#include <climits>
#include <cstdint>
#include <mad.h>
#include <mutex>
#include <vector>

struct FrameScanResult;

class CMp3File {
public:
    static constexpr uint32_t kBufferSize = 40000;

    CMp3File();
    ~CMp3File();
    CMp3File(const CMp3File&) = delete;
    CMp3File& operator=(const CMp3File&) = delete;

    int Open(const char* path);
    void Close();
    void GetInfo(AudioInfo& out);
    int Read(uint8_t* buffer, uint32_t& bytes);
    void SeekTo(int64_t num, int64_t den);
    int GetPositionMs();

    // Moves to a sample frame of the timeline, counted from the start of the audio.
    void SeekToFrame(int64_t sampleFrame);
    // Sample frames (sorted) at which the dither starts afresh: PCM read from such a frame
    // on is the same whether the reader came from before it or was sought to it.
    void SetDitherRestarts(std::vector<int64_t> frames);
    // The next sample frame Read delivers, counted from the start of the audio.
    int64_t GetPositionFrames();
    // Sample frames in the whole audio.
    int64_t GetLengthFrames();
    // The open file's frames and timeline; false when no file is open.
    bool GetLayout(StreamLayout& out);
    // True once reading the file failed (not its regular end): what was read is incomplete.
    bool ReadFailed();
    // Asked during Open's walk through the file: true gives the open up (Open returns 0).
    void SetCancelCheck(CancelCheck check);

private:
    bool OpenLocked(const char* path);
    bool FindAudio(FrameScanResult& scan);
    void CloseLocked();
    void SetTimeline(const VbrHeader& vbr);
    void SeekLocked(int64_t num, int64_t den);
    void SeekFrameLocked(int64_t sampleFrame);
    void ResetDecoder();
    bool EnsureBuffered(uint32_t offset);
    bool DecodeIndexedFrame();
    bool SpliceNextHeader(const uint8_t* frameAt, uint32_t frameBytes, uint32_t next);
    void SynthesizeSilence();
    uint32_t ConvertPcm(uint8_t* out, uint32_t frames);
    int64_t DitherRestartLimit();
    int PositionMsLocked() const;

    int file = -1;
    uint32_t fileSize = 0;
    mad_stream stream{};
    mad_frame frame{};
    mad_synth synth{};
    int pcmIndex = 0;
    AudioInfo info;
    uint8_t buffer[kBufferSize + MAD_BUFFER_GUARD] = {};
    uint32_t bufferFill = 0;
    // A frame followed by junk, with the next frame's header and side information behind it.
    static constexpr uint32_t kSpliceBytes = 8;
    uint8_t splice[kMaxFrameBytes + kSpliceBytes + MAD_BUFFER_GUARD] = {};
    DitherState dither[2]; // left, right
    std::vector<int64_t> ditherRestarts;
    int64_t ditherRestartedAt = -1; // the restart the dither state comes from
    std::mutex lock;
    CancelCheck cancelCheck;

    FrameIndex index;          // every audio frame of the file
    uint32_t audioEnd = 0;     // where the tags at the end begin
    uint32_t bufferBase = 0;   // file offset of buffer[0]
    bool dataEnded = false;    // `buffer` reaches `audioEnd`, guard bytes behind it
    bool readFailed = false;   // a read of the file failed
    bool streamStale = true;   // `stream` does not point into `buffer` as it is now
    size_t decodeIndex = 0;    // the next frame of `index` to decode
    int64_t skipFrames = 0;    // decoded sample frames before the timeline's start
    int64_t lengthFrames = 0;  // sample frames on the timeline
    int64_t nextFrame = 0;     // timeline position of the next delivered sample frame
    int64_t discardFrames = 0; // decoded sample frames still to drop before `nextFrame`
    // A joined file's first part ends where its header says: its padding is left out there.
    int64_t gapAt = INT64_MAX; // timeline position of the left-out padding
    int64_t gapFrames = 0;     // its decoded sample frames
    bool gapPending = false;   // Read has not passed the gap yet
};
