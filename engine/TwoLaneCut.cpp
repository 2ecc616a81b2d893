// A cut's range encoded as segments on two encoder streams at once: the worker and a helper
// thread each read their segment with a reader of their own, and the kept frames are written
// in the range's order. A lane that fails stops its sibling.
#include "CutSegments.h"
#include "CutWork.h"
#include "Mp3SegmentEncoder.h"

#include <algorithm>
#include <system_error>
#include <thread>

namespace {

// Both lanes count the frames they have done into one share of the range.
struct LaneProgress {
    CutWork& work;
    std::atomic<int64_t> framesDone{0};

    void Add(int64_t frames) {
        framesDone += frames;
        const int64_t length = work.endFrame - work.startFrame;
        work.progress.Set(length <= 0 ? 100.0 : framesDone * 100.0 / static_cast<double>(length));
    }
};

// Feeds one segment to its stream: the lead up to the segment's start, then blocks on the
// grid of a cut from the start, so each block gets the same fade gains.
CutResult EncodeSegment(CutWork& w, CMp3File& source, const CutSegment& s,
                        Mp3SegmentEncoder& stream, std::stop_token stop, LaneProgress& done) {
    source.SeekToFrame(w.startFrame + s.readFrom);
    const int64_t blockFrames = kInputBlockBytes / w.frameBytes;
    std::vector<uint8_t> in(kInputBlockBytes);
    for (int64_t at = s.readFrom; at < s.readTo;) {
        if (stop.stop_requested()) {
            return CutFailed(CutError::Stopped);
        }
        const int64_t to = std::min(at + blockFrames, at < s.keepFrom ? s.keepFrom : s.readTo);
        const auto wanted = static_cast<uint32_t>((to - at) * w.frameBytes);
        uint32_t bytes = wanted;
        source.Read(in.data(), bytes);
        if (bytes != wanted) {
            // The source gave out inside the range: a gap in the middle is no cut.
            return CutFailed(CutError::ReadFailed);
        }
        ApplyFades(w.fadeIn, w.fadeOut, source.GetPositionMs() - int64_t{w.startMs}, in.data(),
                   static_cast<int>(bytes));
        if (!stream.Encode(in.data(), bytes)) {
            return CutFailed(CutError::EncodeFailed);
        }
        done.Add(std::clamp(to, s.keepFrom, s.keepTo) - std::clamp(at, s.keepFrom, s.keepTo));
        at = to;
    }
    return stream.Finish() ? CutResult{} : CutFailed(CutError::EncodeFailed);
}

// The lane that failed first tells why; one that was only stopped by its sibling does not.
CutResult Either(const CutResult& first, const CutResult& next) {
    if (!first.Ok() && (first.error != CutError::Stopped || next.Ok())) {
        return first;
    }
    return next.Ok() ? first : next;
}

} // namespace

CutResult EncodeTwoLanes(CutWork& w, const std::vector<CutSegment>& segments) {
    CMp3File second;
    if (!second.Open(w.plan->source.c_str())) {
        return CutFailed(CutError::ReadFailed);
    }
    second.SetDitherRestarts(SegmentReadStarts(segments, w.startFrame));
    LaneProgress done{w};
    std::stop_source lanes;
    const std::stop_callback relay(w.stop, [&lanes] { lanes.request_stop(); });
    const auto run = [&](CMp3File& source, const CutSegment& s, Mp3SegmentEncoder& stream) {
        CutResult result = EncodeSegment(w, source, s, stream, lanes.get_token(), done);
        if (!result.Ok()) {
            lanes.request_stop();
        }
        return result;
    };
    std::vector<uint8_t> firstFrames;
    std::vector<uint8_t> nextFrames;
    for (size_t i = 0; i + 1 < segments.size(); i += 2) {
        const CutSegment& a = segments[i];
        const CutSegment& b = segments[i + 1];
        Mp3SegmentEncoder first(w.encoder.GetLibrary(), w.encoder.GetConfig(), a.skipFrames,
                                a.keepFrames, firstFrames);
        Mp3SegmentEncoder next(w.encoder.GetLibrary(), w.encoder.GetConfig(), b.skipFrames,
                               b.keepFrames, nextFrames);
        CutResult firstResult;
        CutResult nextResult;
        {
            // Joined when this block is left, by a throw too.
            std::jthread helper;
            try {
                helper = std::jthread([&] { nextResult = run(second, b, next); });
            } catch (const std::system_error&) {
                // No second thread to be had: one after the other, the same frames.
                nextResult = run(second, b, next);
            }
            firstResult = run(w.reader, a, first);
        }
        if (const CutResult failed = Either(firstResult, nextResult); !failed.Ok()) {
            return failed;
        }
        if (!w.encoder.AppendFrames(firstFrames.data(), firstFrames.size()) ||
            !w.encoder.AppendFrames(nextFrames.data(), nextFrames.size())) {
            return w.encoder.WriteResult();
        }
    }
    return {};
}
