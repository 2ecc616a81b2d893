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

} // namespace

bool WalkFrameHeaders(int fd, uint32_t start, uint32_t end, FrameIndex& out) {
    out = FrameIndex{};
    Window window(fd, end);
    RawHeader first;
    uint64_t off = start;
    while (off + 4 <= end) {
        const size_t got = window.Load(off, kLookBytes);
        if (window.Failed()) {
            return false;
        }
        const uint8_t* p = window.At(off);
        RawHeader h;
        // Free-format frames do not state their length; they are not counted.
        if (got < 4 || !ParseRawHeader(p, h) || h.frameBytes == 0) {
            ++off;
            continue;
        }
        if (off + h.frameBytes > end) {
            break; // a truncated last frame does not decode either
        }
        if (!FollowerConfirms(p, p + h.frameBytes, got - h.frameBytes)) {
            ++off;
            continue;
        }
        if (out.offsets.empty()) {
            first = h;
        } else if (h.versionBits != first.versionBits || h.layer != first.layer ||
                   h.rateIndex != first.rateIndex) {
            off += h.frameBytes; // another stream's frame: not on this one's timeline
            continue;
        }
        out.offsets.push_back(static_cast<uint32_t>(off));
        off += h.frameBytes;
    }
    out.samplesPerFrame = first.samples;
    out.sampleRate = first.sampleRate;
    return true;
}
