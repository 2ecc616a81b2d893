// CMp3File: positioning and decoding.
#include "CMp3File.h"

#include "Mp3Dither.h"
#include "Mp3Header.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <unistd.h>

namespace {

// A frame decodes right only when the frames before it filled libmad's bit reservoir
// (at most 511 bytes) and the frame before it left its filter overlap: decoding starts
// this many bytes before that frame.
constexpr uint32_t kPrimeBytes = 1200;

void PutSample(uint8_t* out, int16_t sample) {
    const auto u = static_cast<uint16_t>(sample);
    out[0] = static_cast<uint8_t>(u & 0xFF);
    out[1] = static_cast<uint8_t>(u >> 8);
}

} // namespace

void CMp3File::SeekTo(int64_t num, int64_t den) {
    std::lock_guard<std::mutex> guard(lock);
    SeekLocked(num, den);
}

void CMp3File::SeekToFrame(int64_t sampleFrame) {
    std::lock_guard<std::mutex> guard(lock);
    if (file >= 0) {
        SeekFrameLocked(std::clamp<int64_t>(sampleFrame, 0, lengthFrames));
    }
}

void CMp3File::ResetDecoder() {
    // A fresh stream: no bit reservoir from before the jump leaks into the new frames.
    mad_stream_finish(&stream);
    mad_stream_init(&stream);
    mad_stream_options(&stream, MAD_OPTION_IGNORECRC); // as the scan at open
    mad_frame_mute(&frame);
    mad_synth_mute(&synth);
    synth.pcm.length = 0;
    pcmIndex = 0;
    streamStale = true;
}

void CMp3File::SeekLocked(int64_t num, int64_t den) {
    if (file < 0) {
        return;
    }
    const int32_t durationMs = info.durationMs;
    // No fraction from a zero denominator or a zero duration: that is the start.
    double ms = 0.0;
    if (den == durationMs) {
        ms = static_cast<double>(num); // the job's SeekTo(startMs, durationMs), exactly
    } else if (den != 0 && durationMs > 0) {
        const double f = static_cast<double>(num) / static_cast<double>(den);
        ms = std::isfinite(f) ? f * durationMs : 0.0;
    }
    ms = std::clamp(ms, 0.0, static_cast<double>(durationMs));
    SeekFrameLocked(
        std::clamp<int64_t>(std::llround(ms * info.sampleRate / 1000.0), 0, lengthFrames));
}

void CMp3File::SeekFrameLocked(int64_t sampleFrame) {
    nextFrame = sampleFrame;
    ditherRestartedAt = -1;
    gapPending = nextFrame < gapAt;
    const int64_t decoded = nextFrame + skipFrames + (gapPending ? 0 : gapFrames);
    const auto spf = static_cast<int64_t>(index.samplesPerFrame);
    const auto target = static_cast<size_t>(decoded / spf);
    size_t first = 0;
    if (target > 0 && target < index.offsets.size()) {
        first = target - 1;
        while (first > 0 && index.offsets[target - 1] - index.offsets[first] < kPrimeBytes) {
            --first;
        }
    }
    ResetDecoder();
    decodeIndex = std::min(first, index.offsets.size());
    discardFrames = decoded - static_cast<int64_t>(decodeIndex) * spf;
}

// Keeps the frame at `offset`, at least its longest possible length and libmad's guard
// bytes, in `buffer`; false when the file cannot be read.
bool CMp3File::EnsureBuffered(uint32_t offset) {
    const uint64_t held = uint64_t{bufferBase} + bufferFill;
    if (offset >= bufferBase && offset < held &&
        (dataEnded || uint64_t{offset} + kMaxFrameBytes + MAD_BUFFER_GUARD <= held)) {
        return true;
    }
    uint32_t keep = 0;
    if (offset >= bufferBase && offset < held && !dataEnded) {
        keep = static_cast<uint32_t>(held - offset);
        std::memmove(buffer, buffer + (offset - bufferBase), keep);
    }
    bufferBase = offset;
    bufferFill = keep;
    dataEnded = false;
    streamStale = true;
    while (bufferFill < kBufferSize && bufferBase + bufferFill < audioEnd) {
        const uint32_t want =
            std::min(kBufferSize - bufferFill, audioEnd - bufferBase - bufferFill);
        const ssize_t got =
            ::pread(file, buffer + bufferFill, want, static_cast<off_t>(bufferBase + bufferFill));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            // A failing disk, a vanished network file or one cut short since it was opened.
            readFailed = true;
            bufferFill = 0;
            return false;
        }
        bufferFill += static_cast<uint32_t>(got);
    }
    if (bufferBase + bufferFill >= audioEnd) {
        // Guard bytes behind the audio let libmad decode the last frame.
        std::memset(buffer + bufferFill, 0, MAD_BUFFER_GUARD);
        bufferFill += MAD_BUFFER_GUARD;
        dataEnded = true;
    }
    return true;
}

// A frame libmad refuses (damaged side information, a bad CRC) still takes its time on
// the timeline, as silence.
void CMp3File::SynthesizeSilence() {
    mad_frame_mute(&frame);
    synth.pcm.channels = info.stereo ? 2 : 1;
    synth.pcm.length = static_cast<unsigned short>(index.samplesPerFrame);
    for (auto& channel : synth.pcm.samples) {
        std::fill(std::begin(channel), std::end(channel), 0);
    }
}

bool CMp3File::SpliceNextHeader(const uint8_t* frameAt, uint32_t frameBytes, uint32_t next) {
    std::memcpy(splice, frameAt, frameBytes);
    uint8_t* head = splice + frameBytes;
    std::memset(head, 0, kSpliceBytes + MAD_BUFFER_GUARD);
    ssize_t got = 0;
    do {
        got = ::pread(file, head, kSpliceBytes, static_cast<off_t>(next));
    } while (got < 0 && errno == EINTR);
    return got == static_cast<ssize_t>(kSpliceBytes);
}

bool CMp3File::DecodeIndexedFrame() {
    if (decodeIndex >= index.offsets.size() || readFailed) {
        return false;
    }
    const uint32_t offset = index.offsets[decodeIndex];
    if (!EnsureBuffered(offset)) {
        return false;
    }
    const uint8_t* at = buffer + (offset - bufferBase);
    RawHeader h;
    const uint32_t next =
        decodeIndex + 1 < index.offsets.size() ? index.offsets[decodeIndex + 1] : 0;
    if (next != 0 && ParseRawHeader(at, h) && next != offset + h.frameBytes &&
        SpliceNextHeader(at, h.frameBytes, next)) {
        // libmad learns how much of this frame the next one uses from the bytes right behind
        // it: junk there would cost the next frame its bit reservoir.
        mad_stream_buffer(&stream, splice, h.frameBytes + kSpliceBytes + MAD_BUFFER_GUARD);
        streamStale = true;
    } else if (streamStale || stream.next_frame != at) {
        // Steered frame by frame: junk and false syncs between frames are never decoded.
        mad_stream_buffer(&stream, at, bufferFill - (offset - bufferBase));
        streamStale = false;
    }
    ++decodeIndex;
    pcmIndex = 0;
    if (mad_frame_decode(&frame, &stream) != 0) {
        SynthesizeSilence();
        return true;
    }
    info.bitrateKbps = static_cast<int32_t>(frame.header.bitrate / 1000);
    mad_synth_frame(&synth, &frame);
    return true;
}

void CMp3File::SetDitherRestarts(std::vector<int64_t> frames) {
    std::lock_guard<std::mutex> guard(lock);
    ditherRestarts = std::move(frames);
    ditherRestartedAt = -1;
}

// Restarts the dither when the next frame is a restart point; how many frames may be
// converted before the next one.
int64_t CMp3File::DitherRestartLimit() {
    const auto next = std::lower_bound(ditherRestarts.begin(), ditherRestarts.end(), nextFrame);
    if (next == ditherRestarts.end()) {
        return INT64_MAX;
    }
    if (*next == nextFrame && ditherRestartedAt != nextFrame) {
        dither[0] = dither[1] = DitherState{};
        ditherRestartedAt = nextFrame;
    }
    if (*next > nextFrame) {
        return *next - nextFrame;
    }
    return std::next(next) == ditherRestarts.end() ? INT64_MAX : *std::next(next) - nextFrame;
}

uint32_t CMp3File::ConvertPcm(uint8_t* out, uint32_t frames) {
    const mad_fixed_t* left = synth.pcm.samples[0] + pcmIndex;
    // A mono frame in a stereo stream feeds both outputs.
    const mad_fixed_t* right = synth.pcm.channels > 1 ? synth.pcm.samples[1] + pcmIndex : left;
    DitherState& leftState = dither[0];
    DitherState& rightState = dither[1];
    uint8_t* p = out;
    for (uint32_t i = 0; i < frames; ++i) {
        PutSample(p, Dither16(left[i], leftState));
        p += 2;
        if (info.stereo) {
            PutSample(p, Dither16(right[i], rightState));
            p += 2;
        }
    }
    return static_cast<uint32_t>(p - out);
}

int CMp3File::Read(uint8_t* out, uint32_t& bytes) {
    std::lock_guard<std::mutex> guard(lock);
    if (file < 0 || !out) {
        bytes = 0;
        return 0;
    }
    uint32_t n = info.stereo ? (bytes / 2) >> 1 : bytes / 2;
    const bool wanted = n > 0;
    uint32_t written = 0;
    while (n > 0 && nextFrame < lengthFrames) {
        if (gapPending && nextFrame == gapAt) {
            gapPending = false;
            discardFrames += gapFrames;
        }
        const auto left = static_cast<int64_t>(std::max(0, synth.pcm.length - pcmIndex));
        if (left > 0 && discardFrames > 0) {
            // The frames that primed the decoder, and the part of the target frame before
            // the target sample.
            const int64_t drop = std::min(left, discardFrames);
            pcmIndex += static_cast<int>(drop);
            discardFrames -= drop;
            continue;
        }
        const int64_t toGap = gapPending ? gapAt - nextFrame : INT64_MAX;
        const auto avail =
            static_cast<uint32_t>(std::min({left, static_cast<int64_t>(n), lengthFrames - nextFrame,
                                            toGap, DitherRestartLimit()}));
        if (avail > 0) {
            written += ConvertPcm(out + written, avail);
            pcmIndex += static_cast<int>(avail);
            n -= avail;
            nextFrame += avail;
            continue;
        }
        if (!DecodeIndexedFrame()) {
            break;
        }
    }
    bytes = written;
    return written > 0 || !wanted ? 1 : 0;
}
