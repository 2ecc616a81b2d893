#include "Mp3FrameScan.h"

#include "Mp3Header.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

constexpr size_t kScanBytes = 8192;

struct ScanBuffer {
    uint8_t data[kScanBytes + MAD_BUFFER_GUARD];
    size_t dataEnd = 0; // file bytes held
    uint64_t base = 0;  // file offset of data[0]
    bool eof = false;   // guard bytes follow the file's last byte
    size_t Fill() const { return dataEnd + (eof ? MAD_BUFFER_GUARD : 0); }
};

ssize_t ReadSome(int fd, uint8_t* dst, size_t n) {
    ssize_t got = 0;
    do {
        got = ::read(fd, dst, n);
    } while (got < 0 && errno == EINTR);
    return got;
}

// Tops the buffer up with one read; at the end of the file the guard bytes let
// libmad decode the last frame.
bool TopUp(int fd, ScanBuffer& buf) {
    const ssize_t got = ReadSome(fd, buf.data + buf.dataEnd, kScanBytes - buf.dataEnd);
    if (got < 0) {
        return false;
    }
    if (got == 0) {
        std::memset(buf.data + buf.dataEnd, 0, MAD_BUFFER_GUARD);
        buf.eof = true;
    }
    buf.dataEnd += static_cast<size_t>(got);
    return true;
}

// Keeps the bytes libmad has not consumed; false when nothing could be dropped
// from a full buffer (no progress possible).
bool KeepUnconsumed(const mad_stream& stream, ScanBuffer& buf) {
    const uint8_t* keep = stream.next_frame ? stream.next_frame : buf.data;
    const auto consumed = static_cast<size_t>(keep - buf.data);
    if (consumed == 0 && buf.dataEnd >= kScanBytes) {
        return false;
    }
    std::memmove(buf.data, keep, buf.dataEnd - consumed);
    buf.dataEnd -= consumed;
    buf.base += consumed;
    return true;
}

enum class Step { Found, NeedData, Failed };

struct ScanState {
    int confirmed = 0;
    mad_header first{};
};

// Decodes what the buffer holds; stops at the header that describes the stream.
Step DecodeBuffered(mad_stream& stream, mad_frame& frame, ScanBuffer& buf, ScanState& st,
                    FrameScanResult& out) {
    for (;;) {
        if (mad_frame_decode(&frame, &stream) != 0) {
            if (MAD_RECOVERABLE(stream.error)) {
                continue;
            }
            if (stream.error == MAD_ERROR_BUFLEN && !buf.eof) {
                return Step::NeedData;
            }
            out.header = st.first;
            return st.confirmed ? Step::Found : Step::Failed;
        }
        if (st.confirmed) {
            out.header = frame.header; // a first frame of audio: the second one describes
            return Step::Found;
        }
        const uint8_t* end = buf.data + buf.dataEnd;
        const size_t nextAvail =
            stream.next_frame < end ? static_cast<size_t>(end - stream.next_frame) : 0;
        if (!FollowerConfirms(stream.this_frame, stream.next_frame, nextAvail)) {
            // A false sync in non-audio data: search again one byte further on.
            const uint8_t* from = stream.this_frame + 1;
            mad_stream_buffer(&stream, from,
                              static_cast<unsigned long>(buf.data + buf.Fill() - from));
            continue;
        }
        st.confirmed = 1;
        st.first = frame.header;
        out.audioStart = static_cast<uint32_t>(buf.base + (stream.this_frame - buf.data));
        out.vbr = ParseVbrHeader(stream.this_frame, static_cast<size_t>(end - stream.this_frame));
        if (out.vbr.present) {
            out.header = frame.header;
            return Step::Found;
        }
    }
}

} // namespace

bool ScanFrames(int fd, uint32_t start, FrameScanResult& out) {
    out = FrameScanResult{};
    if (::lseek(fd, start, SEEK_SET) < 0) {
        return false;
    }
    ScanBuffer buf;
    buf.base = start;
    ScanState st;
    mad_stream stream;
    mad_frame frame;
    mad_stream_init(&stream);
    // A wrong checksum does not stop a player from playing the frame; it does not stop us.
    mad_stream_options(&stream, MAD_OPTION_IGNORECRC);
    mad_frame_init(&frame);
    Step step = Step::NeedData;
    while (step == Step::NeedData) {
        if (!TopUp(fd, buf)) {
            step = Step::Failed;
            break;
        }
        mad_stream_buffer(&stream, buf.data, static_cast<unsigned long>(buf.Fill()));
        step = DecodeBuffered(stream, frame, buf, st, out);
        if (step == Step::NeedData && !KeepUnconsumed(stream, buf)) {
            step = Step::Failed;
        }
    }
    mad_frame_finish(&frame);
    mad_stream_finish(&stream);
    return step == Step::Found;
}
