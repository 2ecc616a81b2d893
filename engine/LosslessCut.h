#pragma once
// A cut that copies the source's own frames instead of re-encoding them: an information
// frame with the cut's delay and padding, a frame carrying the bit reservoir, then the
// frames that hold the range, untouched. Gapless players give exactly the range's samples.
#include "Mp3FrameWalk.h"

#include <cstddef>
#include <cstdint>
#include <functional>

// Why a file cannot be cut by copying its frames.
enum class LosslessRefusal {
    None,
    NotLayer3, // only Layer III frames have a reservoir and a gapless tag we can write
    Junk,      // something lies between frames: the index is not exact
    Joined,    // several files joined into one: their timelines do not add up
};
LosslessRefusal CheckLossless(const StreamLayout& layout);

// The source frames a cut of [a, b) (timeline samples) copies, on the decoder's timeline.
struct LosslessRange {
    size_t first = 0;  // the first frame copied
    size_t last = 0;   // the last frame copied
    int64_t begin = 0; // the range on the decoder's raw output
    int64_t end = 0;
};
// False when [a, b) holds no sample of the source.
bool PlanLosslessRange(const StreamLayout& layout, int64_t a, int64_t b, LosslessRange& out);

// The delay and padding of a cut whose decoded output starts with source frame `lead`.
void GaplessCounts(const LosslessRange& range, size_t lead, uint32_t samplesPerFrame, int& delay,
                   int& padding);

enum class LosslessResult { Done, ReadFailed, BadFrames, WriteFailed, Stopped };

using ByteSink = std::function<bool(const uint8_t* data, size_t size)>;
// Given the share done (0 to 100); false stops the cut.
using CopyProgress = std::function<bool(double percent)>;

// Writes the cut of [a, b) of the file open as fd (laid out as `layout`) to sink.
LosslessResult WriteLosslessCut(int fd, const StreamLayout& layout, int64_t a, int64_t b,
                                const ByteSink& sink, const CopyProgress& progress);
