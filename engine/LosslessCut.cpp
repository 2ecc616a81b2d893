#include "LosslessCut.h"

#include "LosslessFrames.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>
#include <vector>

namespace {

constexpr int64_t kDecoderDelay = 529;
// The first decoded granule lacks its overlap partner and the synthesis needs 480 samples
// of history: decoding starts this far before the first wanted sample.
constexpr int64_t kPrimingSamples = 1056;
constexpr int64_t kGranule = 576;
constexpr size_t kChunkBytes = 1 << 20;
// A range up to this size is read once and held for both passes.
constexpr size_t kHoldBytes = 64 << 20;

int64_t FloorDiv(int64_t a, int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

bool ReadAt(int fd, uint8_t* to, size_t size, uint64_t at) {
    while (size > 0) {
        const ssize_t got = ::pread(fd, to, size, static_cast<off_t>(at));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        to += got;
        size -= static_cast<size_t>(got);
        at += static_cast<uint64_t>(got);
    }
    return true;
}

class Copier {
public:
    Copier(int file, const StreamLayout& source, const LosslessRange& plan)
        : fd(file), layout(source), offsets(source.index.offsets), range(plan) {}

    LosslessResult Run(const ByteSink& sink, const CopyProgress& progress);

private:
    // Bytes of frame i (the index is exact, so the next frame starts where it ends).
    bool FrameBytes(size_t i, uint32_t& size);
    bool Reservoir(const Layer3Frame& first, std::vector<uint8_t>& out);
    // The frames first..last in pieces of about kChunkBytes, each whole frames.
    // held: the whole range is in `chunk` already.
    template <typename Visit> LosslessResult EachChunk(size_t limit, bool held, Visit visit);
    void MakeToc(GaplessInfo& info, uint32_t tagBytes, uint32_t carrierBytes) const;

    int fd;
    const StreamLayout& layout;
    const std::vector<uint32_t>& offsets;
    LosslessRange range;
    uint32_t regionEnd = 0; // where frame `last` ends
    std::vector<uint8_t> chunk;
};

bool Copier::FrameBytes(size_t i, uint32_t& size) {
    if (i + 1 < offsets.size()) {
        size = offsets[i + 1] - offsets[i];
        return true;
    }
    uint8_t h[4];
    RawHeader parsed;
    if (!ReadAt(fd, h, 4, offsets[i]) || !ParseRawHeader(h, parsed)) {
        return false;
    }
    size = parsed.frameBytes;
    return true;
}

// The `mainDataBegin` bytes before the first frame's main data: the ends of the earlier
// frames' main data, in order.
bool Copier::Reservoir(const Layer3Frame& first, std::vector<uint8_t>& out) {
    out.clear();
    std::vector<uint8_t> frame;
    for (size_t i = range.first; i-- > 0 && out.size() < first.mainDataBegin;) {
        frame.resize(offsets[i + 1] - offsets[i]);
        Layer3Frame parsed;
        if (!ReadAt(fd, frame.data(), frame.size(), offsets[i]) ||
            !ReadLayer3Frame(frame.data(), frame.size(), parsed) ||
            parsed.mainDataAt > frame.size()) {
            return false;
        }
        const size_t take =
            std::min<size_t>(first.mainDataBegin - out.size(), frame.size() - parsed.mainDataAt);
        out.insert(out.begin(), frame.end() - static_cast<long>(take), frame.end());
    }
    // Data the source's own decoder lacked too: silence, as it decodes there.
    out.insert(out.begin(), first.mainDataBegin - out.size(), 0);
    return true;
}

template <typename Visit> LosslessResult Copier::EachChunk(size_t limit, bool held, Visit visit) {
    size_t i = range.first;
    while (i <= range.last) {
        size_t next = i + 1;
        while (next <= range.last && offsets[next] - offsets[i] < limit) {
            ++next;
        }
        const uint32_t from = offsets[i];
        const uint32_t to = next <= range.last ? offsets[next] : regionEnd;
        if (!held) {
            chunk.resize(to - from);
            if (!ReadAt(fd, chunk.data(), chunk.size(), from)) {
                return LosslessResult::ReadFailed;
            }
        }
        const LosslessResult r = visit(i, next, from);
        if (r != LosslessResult::Done) {
            return r;
        }
        i = next;
    }
    return LosslessResult::Done;
}

void Copier::MakeToc(GaplessInfo& info, uint32_t tagBytes, uint32_t carrierBytes) const {
    const uint32_t audioFrames = info.frames;
    for (uint32_t p = 0; p < 100; ++p) {
        const uint32_t f = static_cast<uint32_t>(uint64_t{p} * audioFrames / 100);
        uint64_t at = tagBytes;
        if (carrierBytes > 0 && f > 0) {
            at += carrierBytes + (offsets[range.first + f - 1] - offsets[range.first]);
        } else if (carrierBytes == 0) {
            at += offsets[range.first + f] - offsets[range.first];
        }
        info.toc[p] = static_cast<uint8_t>(std::min<uint64_t>(255, at * 256 / info.streamBytes));
    }
}

LosslessResult Copier::Run(const ByteSink& sink, const CopyProgress& progress) {
    uint32_t lastBytes = 0;
    if (!FrameBytes(range.last, lastBytes)) {
        return LosslessResult::ReadFailed;
    }
    regionEnd = offsets[range.last] + lastBytes;
    uint8_t head[4 + 2 + 32];
    Layer3Frame first;
    if (!ReadAt(fd, head, sizeof(head), offsets[range.first]) ||
        !ReadLayer3Frame(head, sizeof(head), first)) {
        return LosslessResult::BadFrames;
    }
    // The carrier stands in for the frame before the first: the decoded output starts there.
    std::vector<uint8_t> carrier;
    if (range.first > 0 && first.mainDataBegin > 0) {
        std::vector<uint8_t> reservoir;
        uint8_t before[4];
        if (!Reservoir(first, reservoir) || !ReadAt(fd, before, 4, offsets[range.first - 1])) {
            return LosslessResult::ReadFailed;
        }
        carrier = MakeCarrierFrame(before, reservoir);
        if (carrier.empty()) {
            return LosslessResult::BadFrames;
        }
    }
    GaplessInfo info;
    info.oneBitrate = carrier.empty() || (carrier[2] >> 4) == (head[2] >> 4);
    info.kbps = first.header.bitrate / 1000;
    // First pass: the frames are what the index says, and their CRC for the tag.
    info.musicCrc = LameCrc16(carrier.data(), carrier.size());
    const size_t regionBytes = regionEnd - offsets[range.first];
    const bool hold = regionBytes <= kHoldBytes;
    LosslessResult r = EachChunk(
        hold ? regionBytes + 1 : kChunkBytes, false, [&](size_t from, size_t to, uint32_t base) {
            for (size_t i = from; i < to; ++i) {
                RawHeader h;
                const uint8_t* p = chunk.data() + (offsets[i] - base);
                if (!ParseRawHeader(p, h) || !SameFormat(h, first.header)) {
                    return LosslessResult::BadFrames;
                }
                info.oneBitrate = info.oneBitrate && (p[2] >> 4) == (head[2] >> 4);
            }
            info.musicCrc = LameCrc16(chunk.data(), chunk.size(), info.musicCrc);
            return progress(0.0) ? LosslessResult::Done : LosslessResult::Stopped;
        });
    if (r != LosslessResult::Done) {
        return r;
    }
    const size_t lead = carrier.empty() ? range.first : range.first - 1;
    GaplessCounts(range, lead, layout.index.samplesPerFrame, info.delay, info.padding);
    info.frames = static_cast<uint32_t>(range.last + 1 - lead);
    const uint32_t tagBytes = GaplessFrameBytes(head);
    const auto carrierBytes = static_cast<uint32_t>(carrier.size());
    info.streamBytes = tagBytes + carrierBytes + (regionEnd - offsets[range.first]);
    MakeToc(info, tagBytes, carrierBytes);
    const std::vector<uint8_t> tag = MakeGaplessFrame(head, info);
    if (tag.empty()) {
        return LosslessResult::BadFrames;
    }
    if (!sink(tag.data(), tag.size()) ||
        (!carrier.empty() && !sink(carrier.data(), carrier.size()))) {
        return LosslessResult::WriteFailed;
    }
    const double total = regionEnd - offsets[range.first];
    // Second pass: the frames themselves.
    return EachChunk(
        hold ? regionBytes + 1 : kChunkBytes, hold, [&](size_t, size_t to, uint32_t base) {
            if (!sink(chunk.data(), chunk.size())) {
                return LosslessResult::WriteFailed;
            }
            const uint32_t done =
                (to <= range.last ? offsets[to] : regionEnd) - offsets[range.first];
            (void)base;
            return progress(done * 100.0 / total) ? LosslessResult::Done : LosslessResult::Stopped;
        });
}

} // namespace

LosslessRefusal CheckLossless(const StreamLayout& layout) {
    if (layout.index.layer != 3) {
        return LosslessRefusal::NotLayer3;
    }
    if (layout.index.junk) {
        return LosslessRefusal::Junk;
    }
    return layout.joined ? LosslessRefusal::Joined : LosslessRefusal::None;
}

bool PlanLosslessRange(const StreamLayout& layout, int64_t a, int64_t b, LosslessRange& out) {
    const int64_t frames = static_cast<int64_t>(layout.index.offsets.size());
    const int64_t s = layout.index.samplesPerFrame;
    if (frames == 0 || s == 0) {
        return false;
    }
    // A file without a gapless tag starts its timeline at the decoder's first sample; the
    // tag cannot say less than the decoder's own delay, so such a start moves to it.
    out.begin = std::max(a + layout.timelineStart, kDecoderDelay);
    out.end = std::min(b + layout.timelineStart, frames * s);
    if (out.end <= out.begin) {
        return false;
    }
    const int64_t granule = FloorDiv(out.begin - kPrimingSamples, kGranule);
    out.first = static_cast<size_t>(std::max<int64_t>(0, FloorDiv(granule * kGranule, s)));
    out.last = static_cast<size_t>((out.end - 1) / s);
    return true;
}

void GaplessCounts(const LosslessRange& range, size_t lead, uint32_t samplesPerFrame, int& delay,
                   int& padding) {
    const int64_t s = samplesPerFrame;
    const auto k0 = static_cast<int64_t>(lead);
    const auto k1 = static_cast<int64_t>(range.last);
    delay = static_cast<int>(range.begin - k0 * s - kDecoderDelay);
    padding = static_cast<int>((k1 - k0 + 1) * s + kDecoderDelay - (range.end - k0 * s));
}

LosslessResult WriteLosslessCut(int fd, const StreamLayout& layout, int64_t a, int64_t b,
                                const ByteSink& sink, const CopyProgress& progress) {
    LosslessRange range;
    if (CheckLossless(layout) != LosslessRefusal::None) {
        return LosslessResult::BadFrames;
    }
    if (!PlanLosslessRange(layout, a, b, range)) {
        return LosslessResult::BadFrames;
    }
    Copier copier(fd, layout, range);
    return copier.Run(sink, progress);
}
