#include "Mp3FrameWalk.h"

#include "Mp3Header.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

constexpr size_t kWindowBytes = 40000;
// A frame, the header after it and a few bytes of an end tag.
constexpr size_t kLookBytes = kMaxFrameBytes + 16;

// A sliding view of the file that only moves forward.
class Window {
public:
    Window(int file, uint64_t fileEnd) : fd(file), end(fileEnd), data(kWindowBytes) {}

    // Bytes available at `off`, at most `want` and never past the end of the file.
    size_t Load(uint64_t off, size_t want) {
        want = static_cast<size_t>(std::min<uint64_t>(want, end - off));
        if (off >= base && off + want <= base + len) {
            return want;
        }
        size_t keep = 0;
        if (off >= base && off < base + len) {
            keep = static_cast<size_t>(base + len - off);
            std::memmove(data.data(), data.data() + (off - base), keep);
        }
        base = off;
        len = keep;
        while (len < data.size() && base + len < end) {
            const size_t n =
                static_cast<size_t>(std::min<uint64_t>(data.size() - len, end - base - len));
            const ssize_t got = ::pread(fd, data.data() + len, n, static_cast<off_t>(base + len));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                failed = got < 0 || base + len < end;
                break;
            }
            len += static_cast<size_t>(got);
        }
        return std::min(want, len);
    }

    const uint8_t* At(uint64_t off) const { return data.data() + (off - base); }
    bool Failed() const { return failed; }

private:
    int fd;
    uint64_t end;
    std::vector<uint8_t> data;
    uint64_t base = 0;
    size_t len = 0;
    bool failed = false;
};

// How many frames in a row make a stream: random data almost never holds so many.
constexpr int kLockFrames = 4;

bool Cancelled(const CancelCheck& cancelled) {
    return cancelled && cancelled();
}

// A frame with a stated length at `off` that the data holds whole.
bool WholeFrameAt(Window& window, uint64_t off, uint64_t end, RawHeader& h) {
    const size_t got = window.Load(off, kLookBytes);
    return got >= 4 && ParseRawHeader(window.At(off), h) && h.frameBytes != 0 &&
           off + h.frameBytes <= end;
}

// Whether a run of frames like the one at `off` starts there.
bool RunStartsAt(Window& window, uint64_t off, uint64_t end) {
    RawHeader first;
    if (!WholeFrameAt(window, off, end, first)) {
        return false;
    }
    uint64_t next = off + first.frameBytes;
    for (int count = 1; count < kLockFrames; ++count) {
        const size_t got = window.Load(next, kLookBytes);
        if (DataEndsAt(window.At(next), got)) {
            return count >= 2; // a lone frame is not a stream a player locks onto
        }
        RawHeader h;
        if (!ParseRawHeader(window.At(next), h) || !SameFormat(h, first) ||
            (h.mode == 3) != (first.mode == 3) || h.frameBytes == 0) {
            return false;
        }
        if (next + h.frameBytes > end) {
            return count >= 2; // the data ends in a truncated frame
        }
        next += h.frameBytes;
    }
    return true;
}

} // namespace

WalkEnd FindStream(int fd, uint32_t start, uint32_t end, const CancelCheck& cancelled, bool& found,
                   uint32_t& at) {
    found = false;
    Window window(fd, end);
    const uint64_t last = std::min<uint64_t>(end, uint64_t{start} + kSyncSearchBytes);
    for (uint64_t off = start; off + 4 <= last; ++off) {
        if (Cancelled(cancelled)) {
            return WalkEnd::Cancelled;
        }
        window.Load(off, 1);
        if (window.Failed()) {
            return WalkEnd::ReadFailed;
        }
        if (*window.At(off) == 0xFF && RunStartsAt(window, off, end)) {
            found = true;
            at = static_cast<uint32_t>(off);
            return WalkEnd::Done;
        }
    }
    return window.Failed() ? WalkEnd::ReadFailed : WalkEnd::Done;
}

WalkEnd WalkFrameHeaders(int fd, uint32_t start, uint32_t end, const CancelCheck& cancelled,
                         FrameIndex& out) {
    out = FrameIndex{};
    Window window(fd, end);
    RawHeader first;
    uint64_t off = start;
    uint64_t lostAt = 0;
    bool inSync = true;
    while (off + 4 <= end) {
        if (Cancelled(cancelled)) {
            return WalkEnd::Cancelled;
        }
        const size_t got = window.Load(off, kLookBytes);
        if (window.Failed()) {
            return WalkEnd::ReadFailed;
        }
        const uint8_t* p = window.At(off);
        RawHeader h;
        // Free-format frames do not state their length; they are not counted.
        const bool header = got >= 4 && ParseRawHeader(p, h) && h.frameBytes != 0;
        if (header && off + h.frameBytes > end) {
            break; // a truncated last frame does not decode either
        }
        const bool believed =
            header && ((inSync && (out.offsets.empty() || SameFormat(h, first))) ||
                       FollowerConfirms(p, p + h.frameBytes, got - h.frameBytes));
        if (!believed) {
            if (inSync) {
                inSync = false; // junk: look for the next frame
                lostAt = off;
            }
            if (off - lostAt >= kSyncSearchBytes) {
                break; // no frame for this long: the stream has ended
            }
            ++off;
            continue;
        }
        if (out.offsets.empty()) {
            first = h;
        } else if (!SameFormat(h, first)) {
            break; // another stream begins: the one format a cut has ends here
        }
        out.junk = out.junk || !inSync;
        inSync = true;
        out.offsets.push_back(static_cast<uint32_t>(off));
        off += h.frameBytes;
    }
    out.samplesPerFrame = first.samples;
    out.sampleRate = first.sampleRate;
    out.layer = first.layer;
    return WalkEnd::Done;
}
