#include "CMp3File.h"

#include "Mp3FrameScan.h"
#include "Mp3FrameWalk.h"
#include "Mp3Header.h"

#include <algorithm>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Offsets and sizes are 32-bit: larger files are refused, never wrapped.
constexpr uint64_t kMaxFileSize = 0xFFFFFFFFull;

int32_t ClampToInt(long value) {
    if (value < 0) {
        return 0;
    }
    return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

// Where the audio may start: behind an ID3v2 tag as its size says, behind the tag
// as its synchsafe size says, and at the start of the file.
int AudioStartCandidates(int fd, uint32_t fileSize, uint32_t (&out)[3]) {
    uint8_t id3[10] = {};
    if (::pread(fd, id3, sizeof(id3), 0) != static_cast<ssize_t>(sizeof(id3)) || id3[0] != 'I' ||
        id3[1] != 'D' || id3[2] != '3') {
        out[0] = 0;
        return 1;
    }
    const uint32_t raw =
        ((((static_cast<uint32_t>(id3[6]) << 7) | id3[7]) << 7 | id3[8]) << 7) | id3[9];
    const uint32_t synchsafe = (static_cast<uint32_t>(id3[6] & 0x7F) << 21) |
                               (static_cast<uint32_t>(id3[7] & 0x7F) << 14) |
                               (static_cast<uint32_t>(id3[8] & 0x7F) << 7) | (id3[9] & 0x7F);
    int n = 0;
    for (const uint32_t size : {raw, synchsafe}) {
        const uint64_t skip = 10ull + size;
        if (skip < fileSize && (n == 0 || out[n - 1] != skip)) {
            out[n++] = static_cast<uint32_t>(skip);
        }
    }
    out[n++] = 0;
    return n;
}

uint32_t FileSizeOf(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_size < 0) {
        return 0;
    }
    return static_cast<uint32_t>(
        std::min<uint64_t>(static_cast<uint64_t>(st.st_size), kMaxFileSize));
}

// A readable regular file below 4 GiB, or -1.
int OpenRegularFile(const char* path) {
    // Non-blocking so that a FIFO cannot hang the open.
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 ||
        static_cast<uint64_t>(st.st_size) > kMaxFileSize) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return fd;
}

} // namespace

CMp3File::CMp3File() = default;

CMp3File::~CMp3File() {
    Close();
}

int CMp3File::Open(const char* path) {
    Close();
    std::lock_guard<std::mutex> guard(lock);
    return OpenLocked(path) ? 1 : 0;
}

bool CMp3File::OpenLocked(const char* path) {
    if (!path) {
        return false;
    }
    const int fd = OpenRegularFile(path);
    if (fd < 0) {
        return false;
    }
    file = fd;
    fileSize = FileSizeOf(fd);
    // Each cut dithers from the same start, so a range comes out the same whatever was
    // read before it, in this reader or in any other.
    dither[0] = dither[1] = DitherState{};
    mad_stream_init(&stream);
    mad_frame_init(&frame);
    mad_synth_init(&synth);

    FrameScanResult scan;
    if (!FindAudio(scan)) {
        CloseLocked();
        return false;
    }
    frame.header = scan.header;
    xing = scan.xing;
    audioStart = scan.audioStart;
    ::lseek(file, audioStart, SEEK_SET);
    synth.pcm.length = 0;
    pcmIndex = 0;
    position = mad_timer_zero;
    SetOpenDuration();
    bitrateSum = 0;
    frameCount = 0;
    UpdateDurationInfo();
    info.bitrateKbps = static_cast<int32_t>(frame.header.bitrate / 1000);
    info.sampleRate = static_cast<int32_t>(frame.header.samplerate);
    info.stereo = frame.header.mode != MAD_MODE_SINGLE_CHANNEL ? 1 : 0;
    info.reserved = 1;
    bufferFill = 0;
    dataEnded = false;
    return true;
}

bool CMp3File::FindAudio(FrameScanResult& scan) {
    uint32_t starts[3];
    const int count = AudioStartCandidates(file, fileSize, starts);
    for (int i = 0; i < count; ++i) {
        if (ScanFrames(file, starts[i], scan)) {
            return true;
        }
    }
    return false;
}

void CMp3File::SetOpenDuration() {
    const mad_header& h = frame.header;
    const bool lsf = (h.flags & MAD_FLAG_LSF_EXT) != 0;
    const uint32_t minBytes =
        MinFrameBytes(static_cast<int>(h.layer), lsf, static_cast<int>(h.samplerate));
    // A count that more frames than the file can hold is damage, not a duration.
    const bool plausible = static_cast<uint64_t>(xing.frames) * minBytes <= fileSize;
    exactDuration = false;
    if ((xing.flags & 1) && xing.frames == 0) {
        duration = mad_timer_zero;
    } else if ((xing.flags & 1) && plausible) {
        duration = h.duration;
        mad_timer_multiply(&duration, static_cast<long>(xing.frames));
        exactDuration = true;
    } else {
        mad_timer_set(&duration, 0, 1, h.bitrate >> 3);
        mad_timer_multiply(&duration, static_cast<long>(fileSize));
    }
}

void CMp3File::UpdateDurationInfo() {
    info.durationSec = ClampToInt(mad_timer_count(duration, MAD_UNITS_SECONDS));
    info.durationMs = ClampToInt(mad_timer_count(duration, MAD_UNITS_MILLISECONDS));
}

void CMp3File::Close() {
    std::lock_guard<std::mutex> guard(lock);
    CloseLocked();
}

void CMp3File::CloseLocked() {
    if (file < 0) {
        return;
    }
    ::close(file);
    file = -1;
    mad_frame_finish(&frame);
    mad_stream_finish(&stream);
}

void CMp3File::GetInfo(AudioInfo& out) {
    std::lock_guard<std::mutex> guard(lock);
    if (file >= 0 && !exactDuration && frameCount > 0) {
        const uint32_t avg = bitrateSum / frameCount;
        if (avg > 0) {
            mad_timer_set(&duration, 0, 1, static_cast<unsigned long>(avg) * 125);
            mad_timer_multiply(&duration, static_cast<long>(fileSize));
        }
        if (mad_timer_compare(position, duration) > 0) {
            duration = position;
            fileSize = FileSizeOf(file);
        }
        UpdateDurationInfo();
    }
    out = info;
}

bool CMp3File::HasExactDuration() {
    std::lock_guard<std::mutex> guard(lock);
    return exactDuration;
}

int CMp3File::MeasureDurationMs() {
    std::lock_guard<std::mutex> guard(lock);
    if (file < 0) {
        return info.durationMs;
    }
    FrameWalkResult walk;
    if (WalkFrameHeaders(file, audioStart, fileSize, walk) && walk.frames > 0) {
        duration = walk.duration;
        exactDuration = true;
        UpdateDurationInfo();
    }
    return info.durationMs;
}

int CMp3File::GetPositionSec() {
    std::lock_guard<std::mutex> guard(lock);
    return ClampToInt(mad_timer_count(position, MAD_UNITS_SECONDS));
}

int CMp3File::GetPositionMs() {
    std::lock_guard<std::mutex> guard(lock);
    return ClampToInt(mad_timer_count(position, MAD_UNITS_MILLISECONDS));
}
