// CMp3File: positioning and decoding.
#include "CMp3File.h"

#include "Mp3Dither.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <unistd.h>

namespace {

void PutSample(uint8_t* out, int16_t sample) {
    const auto u = static_cast<uint16_t>(sample);
    out[0] = static_cast<uint8_t>(u & 0xFF);
    out[1] = static_cast<uint8_t>(u >> 8);
}

} // namespace

void CMp3File::Seek(int64_t num, int64_t den) {
    std::lock_guard<std::mutex> guard(lock);
    SeekLocked(num, den);
}

void CMp3File::SeekTo(int64_t num, int64_t den) {
    std::lock_guard<std::mutex> guard(lock);
    SeekLocked(num, den);
}

double CMp3File::FileFraction(double f) const {
    if (!(xing.flags & 4)) {
        return f;
    }
    // Interpolate the table of contents; the index stays inside it even for f = 1.
    const double p = f * 100.0;
    const int i = std::min(static_cast<int>(p), 99);
    const double a = xing.toc[i];
    const double b = i < 99 ? xing.toc[i + 1] : 256.0;
    return (a + (b - a) * (p - i)) / 256.0;
}

void CMp3File::SeekLocked(int64_t num, int64_t den) {
    if (file < 0) {
        return;
    }
    const int32_t durationMs = info.durationMs;
    // No fraction from a zero denominator or a zero duration: that is the start.
    double f = 0.0;
    if (den != 0 && durationMs > 0) {
        f = static_cast<double>(num) / static_cast<double>(den);
        f = std::isfinite(f) ? std::clamp(f, 0.0, 1.0) : 0.0;
    }
    const auto ms = static_cast<int64_t>(durationMs * f);
    mad_timer_set(&position, static_cast<unsigned long>(ms / 1000),
                  static_cast<unsigned long>(ms % 1000), 1000);

    const double fraction = std::clamp(FileFraction(f), 0.0, 1.0);
    // The tag in front is never audio: a seek does not land in it.
    const auto offset =
        std::max(audioStart, static_cast<uint32_t>(fraction * static_cast<double>(fileSize)));
    ::lseek(file, offset, SEEK_SET);
    bufferFill = 0;
    dataEnded = false;
    // A fresh stream: no bit reservoir from before the jump leaks into the new frames.
    mad_stream_finish(&stream);
    mad_stream_init(&stream);
    if (!ReadMore()) {
        bufferFill = 0;
        mad_stream_buffer(&stream, buffer, 0);
    }
    mad_frame_mute(&frame);
    mad_synth_mute(&synth);

    if (f > 0.0) {
        PrimeDecoder();
    }
    synth.pcm.length = 0;
    pcmIndex = 0;
}

// The reservoir and the filters need two frames before the audio is right; their
// samples are not delivered.
void CMp3File::PrimeDecoder() {
    for (int decoded = 0; decoded < 2;) {
        if (mad_frame_decode(&frame, &stream) != 0) {
            // A frame whose reservoir lies before the jump still passes its time.
            if (stream.error == MAD_ERROR_BADDATAPTR) {
                mad_timer_add(&position, frame.header.duration);
            }
            if (MAD_RECOVERABLE(stream.error)) {
                continue;
            }
            return;
        }
        mad_timer_add(&position, frame.header.duration);
        if (++decoded == 2) {
            mad_synth_frame(&synth, &frame);
        }
    }
}

bool CMp3File::ReadMore() {
    if (dataEnded || bufferFill >= kBufferSize) {
        return false;
    }
    ssize_t got = 0;
    do {
        got = ::read(file, buffer + bufferFill, kBufferSize - bufferFill);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        return false;
    }
    if (got == 0) {
        // Guard bytes behind the file's end let libmad decode the last frame.
        std::memset(buffer + bufferFill, 0, MAD_BUFFER_GUARD);
        bufferFill += MAD_BUFFER_GUARD;
        dataEnded = true;
    } else {
        bufferFill += static_cast<uint32_t>(got);
    }
    mad_stream_buffer(&stream, buffer, bufferFill);
    return true;
}

bool CMp3File::Refill() {
    if (dataEnded) {
        return false;
    }
    if (stream.next_frame) {
        const auto used = static_cast<uint32_t>(stream.next_frame - buffer);
        const uint32_t keep = used <= bufferFill ? bufferFill - used : 0;
        std::memmove(buffer, stream.next_frame, keep);
        bufferFill = keep;
    }
    return ReadMore();
}

bool CMp3File::DecodeNextFrame() {
    while (mad_frame_decode(&frame, &stream) != 0) {
        if (MAD_RECOVERABLE(stream.error)) {
            continue;
        }
        if (!Refill()) {
            return false;
        }
    }
    ++frameCount;
    const auto kbps = static_cast<uint32_t>(frame.header.bitrate / 1000);
    bitrateSum += kbps;
    info.bitrateKbps = static_cast<int32_t>(kbps);
    mad_synth_frame(&synth, &frame);
    pcmIndex = 0;
    mad_timer_add(&position, frame.header.duration);
    return true;
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
    uint32_t written = 0;
    while (n > 0) {
        const auto left = static_cast<uint32_t>(std::max(0, synth.pcm.length - pcmIndex));
        const uint32_t avail = std::min(left, n);
        written += ConvertPcm(out + written, avail);
        pcmIndex += static_cast<int>(avail);
        n -= avail;
        if (n == 0) {
            break;
        }
        if (!DecodeNextFrame()) {
            // The end of the data: deliver what this call converted; the next call gets 0.
            bytes = written;
            return written > 0 ? 1 : 0;
        }
    }
    bytes = written;
    return 1;
}
