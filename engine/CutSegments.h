#pragma once
// How a cut's range is split for encoding on several encoder streams at once. Joins lie on
// the MP3 frame grid and on the cut's block grid, so every kept frame and
// every block's fade gain are those of one encode from the start.
#include <cstdint>
#include <vector>

struct CutSegment {
    int64_t readFrom = 0; // sample frames from the cut's start: what the stream is fed
    int64_t keepFrom = 0; // the segment itself, [keepFrom, keepTo)
    int64_t keepTo = 0;
    int64_t readTo = 0;
    uint64_t skipFrames = 0; // MP3 frames of the stream before the segment's first
    uint64_t keepFrames = 0; // MP3 frames kept; UINT64_MAX: all to the stream's end
};

// MP3 frames fed before and after a segment: with fewer than 2 before, the first kept
// frame is audibly worse than in one encode.
constexpr int64_t kLeadMp3Frames = 4;
constexpr int64_t kTailMp3Frames = 4;

// A constant-bit-rate encoder pads every few frames by a pattern that repeats every
// paddingPeriod frames from the stream's start; a segment's stream starts on that pattern,
// so its frames get the same sizes as in one encode. The period for a sample rate of the
// 11025 Hz family is 49 frames or a divisor of it; the other rates never pad.
int64_t PaddingPeriodFrames(int sampleRate);

// The grids a join lies on: the cut's blocks and the encoder's frames (1152 sample frames
// for MPEG-1, 576 for the lower rates), and the padding pattern's period in frames.
struct SegmentGrid {
    int64_t blockFrames = 5120;
    int64_t mp3FrameSamples = 1152;
    int64_t paddingPeriod = 1;
};

// An even number of segments of equal length (on the grid) for lanes working in pairs,
// none longer than maxSegmentFrames; one segment covering everything when the range is
// shorter than minSplitFrames. Each stream starts at least kLeadMp3Frames before its segment,
// on a multiple of the padding period.
std::vector<CutSegment> PlanCutSegments(int64_t frames, const SegmentGrid& grid,
                                        int64_t minSplitFrames, int64_t maxSegmentFrames);

// Where each segment is read from, on the source's timeline (the range starting at origin).
std::vector<int64_t> SegmentReadStarts(const std::vector<CutSegment>& segments, int64_t origin);
