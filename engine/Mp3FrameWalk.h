#pragma once
// Finds every frame of a file by walking its frame headers, without decoding: the
// frame count gives the exact length and the offsets are the seek index.
#include <cstdint>
#include <functional>
#include <vector>

struct FrameIndex {
    std::vector<uint32_t> offsets; // file offset of every frame, in order
    uint32_t samplesPerFrame = 0;  // per channel
    int sampleRate = 0;
    int layer = 0;
    bool junk = false; // something other than frames lies between two frames
};

// What copying a file's frames needs of it, as the reader sees it.
struct StreamLayout {
    FrameIndex index;          // the audio frames, the information frame left out
    uint32_t audioEnd = 0;     // where the tags at the end begin
    int64_t timelineStart = 0; // decoded samples before the first one a player shows
    int64_t lengthFrames = 0;  // samples a player shows
    bool joined = false;       // several files joined: the header counts fewer frames
};

// How far a frame is searched for, at the start and after the sync is lost, before the
// stream is taken to have ended: as far as a careful player looks.
constexpr uint32_t kSyncSearchBytes = 128 * 1024;

// Asked now and then during a long walk; true stops it (the open is given up).
using CancelCheck = std::function<bool()>;

enum class WalkEnd { Done, ReadFailed, Cancelled };

// The stream's first frame within kSyncSearchBytes of `start`: one that begins a run of
// consecutive frames of one format and channel count, each where the last one ends (a
// shorter run of at least two frames when the data ends). Found: its offset in `at`.
WalkEnd FindStream(int fd, uint32_t start, uint32_t end, const CancelCheck& cancelled, bool& found,
                   uint32_t& at);

// Walks from the stream's first frame at `start` to `end` in 40000-byte reads (pread: the file
// offset is left alone). Junk between frames is passed over; the stream ends where its format
// changes or where no frame follows within kSyncSearchBytes.
WalkEnd WalkFrameHeaders(int fd, uint32_t start, uint32_t end, const CancelCheck& cancelled,
                         FrameIndex& out);
