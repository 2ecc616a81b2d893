#include "CutSegments.h"

#include <algorithm>
#include <numeric>

int64_t PaddingPeriodFrames(int sampleRate) {
    return sampleRate > 0 && sampleRate % 11025 == 0 ? 49 : 1;
}

std::vector<CutSegment> PlanCutSegments(int64_t frames, const SegmentGrid& on,
                                        int64_t minSplitFrames, int64_t maxSegmentFrames) {
    const int64_t mp3Frame = std::max<int64_t>(on.mp3FrameSamples, 1);
    const int64_t grid = std::lcm(mp3Frame, std::max<int64_t>(on.blockFrames, 1));
    const int64_t period = std::max<int64_t>(on.paddingPeriod, 1);
    const int64_t reach = std::max(kLeadMp3Frames + period, kTailMp3Frames) * mp3Frame;
    if (frames < std::max(minSplitFrames, 2 * (grid + reach))) {
        return {CutSegment{0, 0, frames, frames, 0, UINT64_MAX}};
    }
    const int64_t pairs = (frames + 2 * maxSegmentFrames - 1) / (2 * maxSegmentFrames);
    // No more segments than the grid has room for, each longer than a lead or a tail.
    const int64_t count = std::min(2 * pairs, frames / (grid + reach) / 2 * 2);
    std::vector<int64_t> joins{0};
    for (int64_t i = 1; i < count; ++i) {
        const int64_t wanted = frames * i / count;
        joins.push_back(std::max(joins.back() + grid, (wanted + grid / 2) / grid * grid));
    }
    joins.push_back(frames);
    std::vector<CutSegment> segments;
    for (size_t i = 0; i + 1 < joins.size(); ++i) {
        const bool first = i == 0;
        const bool last = i + 2 == joins.size();
        CutSegment s;
        s.keepFrom = joins[i];
        s.keepTo = joins[i + 1];
        const int64_t leadStart = s.keepFrom / mp3Frame - kLeadMp3Frames;
        s.readFrom = first ? 0 : leadStart / period * period * mp3Frame;
        s.readTo = last ? frames : std::min(frames, s.keepTo + kTailMp3Frames * mp3Frame);
        s.skipFrames = static_cast<uint64_t>((s.keepFrom - s.readFrom) / mp3Frame);
        s.keepFrames =
            last ? UINT64_MAX : static_cast<uint64_t>((s.keepTo - s.keepFrom) / mp3Frame);
        segments.push_back(s);
    }
    return segments;
}

std::vector<int64_t> SegmentReadStarts(const std::vector<CutSegment>& segments, int64_t origin) {
    std::vector<int64_t> starts;
    starts.reserve(segments.size());
    for (const CutSegment& s : segments) {
        starts.push_back(origin + s.readFrom);
    }
    return starts;
}
