// A cut's worker: the tag, one of the strategies, then the output published or discarded.
#include "CutWork.h"

#include "CutSegments.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

// The largest block SoundTouch hands back for one input block, with room to spare.
constexpr uint32_t kStageOutputBytes = 1048576;

// Shorter ranges are done before a second stream would pay for itself.
constexpr int64_t kMinSplitSeconds = 4;
// Bounds the memory for the kept frames of the two segments in work (2 x 2.4 MB at 320k).
constexpr int64_t kMaxSegmentSeconds = 60;

void ShowProgress(CutWork& w) {
    const int done = w.reader.GetPositionMs() - w.startMs;
    const int length = w.endMs - w.startMs;
    // An empty range is done as soon as it starts.
    w.progress.Set(length == 0 ? 100.0 : done * 100.0 / length);
}

bool EncodeBlock(CutWork& w, const uint8_t* block, uint32_t bytes, std::vector<uint8_t>& out) {
    if (!w.stage.IsActive()) {
        return w.encoder.EncodeChunk(block, bytes);
    }
    const int produced =
        w.stage.Process(reinterpret_cast<int16_t*>(out.data()),
                        reinterpret_cast<const int16_t*>(block), static_cast<int>(bytes / 2));
    return w.encoder.EncodeChunk(out.data(), static_cast<uint32_t>(produced));
}

// The segments are planned for every cut, and the dither restarts where each is read
// from, so a cut's samples are the same whether it is encoded in one stream or in several.
std::vector<CutSegment> PlanSegments(CutWork& w) {
    AudioInfo info;
    w.reader.GetInfo(info);
    const int64_t rate = info.sampleRate;
    const SegmentGrid grid{kInputBlockBytes / w.frameBytes, w.encoder.GetSamplesPerFrame(),
                           PaddingPeriodFrames(info.sampleRate)};
    std::vector<CutSegment> segments = PlanCutSegments(
        w.endFrame - w.startFrame, grid, kMinSplitSeconds * rate, kMaxSegmentSeconds * rate);
    w.reader.SetDitherRestarts(SegmentReadStarts(segments, w.startFrame));
    return segments;
}

// Tempo and pitch carry SoundTouch's state across the whole range, and a paused cut keeps
// the pace of one block after another: those stay one stream.
bool TwoLanesFit(const CutWork& w, const std::vector<CutSegment>& segments) {
    return w.plan->lanes > 1 && segments.size() > 1 && !w.stage.IsActive() &&
           w.plan->throttleMs == 0;
}

CutResult MakeAudio(CutWork& w) {
    if (w.plan->lossless) {
        return CopySourceFrames(w);
    }
    const std::vector<CutSegment> segments = PlanSegments(w);
    return TwoLanesFit(w, segments) ? EncodeTwoLanes(w, segments) : EncodeOneLane(w);
}

// What SoundTouch still holds is the end of the cut; then the output gets its name.
CutResult FinishOutput(CutWork& w) {
    if (w.stage.IsActive()) {
        std::vector<uint8_t> tail(kStageOutputBytes);
        const int bytes =
            w.stage.Flush(reinterpret_cast<int16_t*>(tail.data()), kStageOutputBytes / 2);
        if (!w.encoder.EncodeChunk(tail.data(), static_cast<uint32_t>(bytes))) {
            return w.encoder.WriteResult();
        }
    }
    return w.encoder.Finish() ? CutResult{} : w.encoder.WriteResult();
}

} // namespace

CutResult RunCutWork(CutWork& w) {
    w.progress.Set(0.0);
    // Nothing SoundTouch held from an earlier cut may leak into this one.
    w.stage.Clear();
    CutResult result = WriteCutTag(w) ? MakeAudio(w) : w.encoder.WriteResult();
    w.reader.Close();
    if (result.Ok()) {
        result = FinishOutput(w);
    }
    // A file that could not be written completely is not a cut, and is not published.
    if (!result.Ok()) {
        w.encoder.DiscardOutput();
    }
    return result;
}

// Reads the range block by block into the encoder; the last block is cut at the range's end.
CutResult EncodeOneLane(CutWork& w) {
    std::vector<uint8_t> in(kInputBlockBytes);
    std::vector<uint8_t> out(kStageOutputBytes);
    int64_t delivered = 0;
    for (;;) {
        if (w.stop.stop_requested()) {
            return CutFailed(CutError::Stopped);
        }
        const int64_t left = w.endFrame - w.reader.GetPositionFrames();
        uint32_t bytes = static_cast<uint32_t>(
            std::clamp<int64_t>(left, 0, kInputBlockBytes / w.frameBytes) * w.frameBytes);
        if (bytes > 0) {
            w.reader.Read(in.data(), bytes);
        }
        if (bytes == 0) {
            ShowProgress(w);
            break;
        }
        delivered += bytes;
        ApplyFades(w.fadeIn, w.fadeOut, w.reader.GetPositionMs() - int64_t{w.startMs}, in.data(),
                   static_cast<int>(bytes));
        if (!EncodeBlock(w, in.data(), bytes, out)) {
            return w.encoder.WriteResult();
        }
        ShowProgress(w);
        if (w.reader.GetPositionFrames() >= w.endFrame) {
            break;
        }
        if (w.plan->throttleMs > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(w.plan->throttleMs));
        }
    }
    // Neither a source that failed on the way nor a range without audio makes a cut.
    if (w.reader.ReadFailed()) {
        return CutFailed(CutError::ReadFailed);
    }
    return delivered == 0 ? CutFailed(CutError::NoAudio) : CutResult{};
}
