// A cut's range encoded as segments on two encoder streams at once: the worker and a
// helper thread each read their segment with a reader of their own, and the kept frames
// are written in the range's order.
#include "CClipJob.h"
#include "CutSegments.h"
#include "Mp3SegmentEncoder.h"

#include <algorithm>
#include <system_error>
#include <thread>

namespace {

// Shorter ranges are done before a second stream would pay for itself.
constexpr int64_t kMinSplitSeconds = 4;
// Bounds the memory for the kept frames of the two segments in work (2 x 2.4 MB at 320k).
constexpr int64_t kMaxSegmentSeconds = 60;

// Where each segment is read from, on the source's timeline.
std::vector<int64_t> ReadStarts(const std::vector<CutSegment>& segments, int64_t origin) {
    std::vector<int64_t> starts;
    for (const CutSegment& s : segments) {
        starts.push_back(origin + s.readFrom);
    }
    return starts;
}

} // namespace

// The segments are planned for every cut, and the dither restarts where each is read
// from, so a cut's samples are the same whether it is encoded in one stream or in several.
bool CClipJob::PlanSegments(std::vector<CutSegment>& segments) {
    AudioInfo info;
    reader->GetInfo(info);
    const int64_t rate = info.sampleRate;
    const SegmentGrid grid{kInputBlockBytes / frameBytes, encoder->GetSamplesPerFrame(),
                           PaddingPeriodFrames(info.sampleRate)};
    segments = PlanCutSegments(endFrame - startFrame, grid, kMinSplitSeconds * rate,
                               kMaxSegmentSeconds * rate);
    reader->SetDitherRestarts(ReadStarts(segments, startFrame));
    // Tempo and pitch carry SoundTouch's state across the whole range, and a paused cut
    // keeps the pace of one block after another: those stay one stream.
    return splitEncoding && segments.size() > 1 && !stage.IsActive() && throttleMs == 0 &&
           !sourcePath.empty();
}

int CClipJob::EncodeSegments(const std::vector<CutSegment>& segments) {
    CMp3File second;
    if (!second.Open(sourcePath.c_str())) {
        failure = ClipFailure::ReadFailed;
        return 1;
    }
    second.SetDitherRestarts(ReadStarts(segments, startFrame));
    segmentFramesDone = 0;
    std::vector<uint8_t> firstFrames;
    std::vector<uint8_t> nextFrames;
    for (size_t i = 0; i + 1 < segments.size(); i += 2) {
        const CutSegment& a = segments[i];
        const CutSegment& b = segments[i + 1];
        Mp3SegmentEncoder first(encoder->GetLibrary(), encoder->GetConfig(), a.skipFrames,
                                a.keepFrames, firstFrames);
        Mp3SegmentEncoder next(encoder->GetLibrary(), encoder->GetConfig(), b.skipFrames,
                               b.keepFrames, nextFrames);
        int nextResult = 1;
        std::thread helper;
        try {
            helper = std::thread([&] { nextResult = EncodeSegment(second, b, next); });
        } catch (const std::system_error&) {
            // No second thread to be had: one after the other, the same frames.
            nextResult = EncodeSegment(second, b, next);
        }
        const int firstResult = EncodeSegment(*reader, a, first);
        if (helper.joinable()) {
            helper.join();
        }
        if (firstResult != 0 || nextResult != 0) {
            return 1;
        }
        if (!encoder->AppendFrames(firstFrames.data(), firstFrames.size()) ||
            !encoder->AppendFrames(nextFrames.data(), nextFrames.size())) {
            failure = ClipFailure::WriteFailed;
            return 1;
        }
    }
    return 0;
}

// Feeds one segment to its stream: the lead up to the segment's start, then blocks on the
// grid of a cut from the start, so each block gets the same fade gains.
int CClipJob::EncodeSegment(CMp3File& source, const CutSegment& s, Mp3SegmentEncoder& stream) {
    source.SeekToFrame(startFrame + s.readFrom);
    const int64_t blockFrames = kInputBlockBytes / frameBytes;
    std::vector<uint8_t> in(kInputBlockBytes);
    for (int64_t at = s.readFrom; at < s.readTo;) {
        if (!running) {
            return 1;
        }
        const int64_t to = std::min(at + blockFrames, at < s.keepFrom ? s.keepFrom : s.readTo);
        const auto wanted = static_cast<uint32_t>((to - at) * frameBytes);
        uint32_t bytes = wanted;
        source.Read(in.data(), bytes);
        if (bytes != wanted) {
            // The source gave out inside the range: a gap in the middle is no cut.
            failure = ClipFailure::ReadFailed;
            return 1;
        }
        ApplyFadeIn(*this, source, in.data(), static_cast<int>(bytes));
        ApplyFadeOut(*this, source, in.data(), static_cast<int>(bytes));
        if (!stream.Encode(in.data(), bytes)) {
            failure = ClipFailure::WriteFailed;
            return 1;
        }
        segmentFramesDone +=
            std::clamp(to, s.keepFrom, s.keepTo) - std::clamp(at, s.keepFrom, s.keepTo);
        PublishSegmentProgress();
        at = to;
    }
    if (!stream.Finish()) {
        failure = ClipFailure::WriteFailed;
        return 1;
    }
    return 0;
}

void CClipJob::PublishSegmentProgress() {
    std::lock_guard<std::mutex> hold(progressLock);
    const int64_t length = endFrame - startFrame;
    progress = length <= 0 ? 100.0 : segmentFramesDone * 100.0 / static_cast<double>(length);
}
