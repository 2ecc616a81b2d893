#include "CMp3File.h"

#include "Mp3FrameScan.h"
#include "Mp3Header.h"
#include "Mp3Tags.h"

#include <algorithm>
#include <climits>
#include <cmath>
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

// Where the audio may start: behind the ID3v2 tags as their synchsafe sizes say, behind
// a tag whose size was written as a plain number, and at the start of the file.
int AudioStartCandidates(int fd, uint32_t fileSize, uint32_t (&out)[3]) {
    int n = 0;
    const auto add = [&](uint64_t skip) {
        if (skip < fileSize && (n == 0 || out[n - 1] != skip)) {
            out[n++] = static_cast<uint32_t>(skip);
        }
    };
    add(SkipId3v2Tags(fd, 0, fileSize));
    uint8_t id3[10] = {};
    if (::pread(fd, id3, sizeof(id3), 0) == static_cast<ssize_t>(sizeof(id3)) && id3[0] == 'I' &&
        id3[1] == 'D' && id3[2] == '3') {
        add(10ull +
            (((((static_cast<uint32_t>(id3[6]) << 7) | id3[7]) << 7 | id3[8]) << 7) | id3[9]));
    }
    if (n == 0 || out[n - 1] != 0) {
        out[n++] = 0;
    }
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
    audioEnd = AudioEndBeforeTags(file, fileSize);
    if (audioEnd <= scan.audioStart) {
        audioEnd = fileSize; // the "tags" were audio after all
    }
    // A lone frame is not a stream a player can lock onto: such a file is refused.
    if (WalkFrameHeaders(file, scan.audioStart, audioEnd, cancelCheck, index) != WalkEnd::Done ||
        index.offsets.size() < 2) {
        CloseLocked();
        return false;
    }
    if (scan.vbr.present && index.offsets.front() == scan.audioStart) {
        index.offsets.erase(index.offsets.begin()); // no audio in it
    }
    SetTimeline(scan.vbr);
    if (lengthFrames <= 0 || index.sampleRate <= 0) {
        CloseLocked(); // nothing a player would play
        return false;
    }
    info.durationMs = ClampToInt(std::llround(lengthFrames * 1000.0 / index.sampleRate));
    info.bitrateKbps = static_cast<int32_t>(scan.header.bitrate / 1000);
    info.sampleRate = index.sampleRate;
    info.stereo = scan.header.mode != 3 ? 1 : 0; // not single channel
    readFailed = false;
    bufferFill = 0; // nothing of an earlier file is decoded as this one's
    bufferBase = 0;
    dataEnded = false;
    SeekLocked(0, 1);
    return true;
}

bool CMp3File::FindAudio(FrameScanResult& scan) {
    uint32_t starts[3];
    const int count = AudioStartCandidates(file, fileSize, starts);
    for (int i = 0; i < count; ++i) {
        bool found = false;
        if (ScanFrames(file, starts[i], fileSize, cancelCheck, found, scan) != WalkEnd::Done) {
            return false; // given up, or the file could not be read
        }
        if (found) {
            return true;
        }
    }
    return false;
}

// The decoded frames hold the encoder's delay and the decoder's own delay (529 samples)
// before the audio and the padding after it; a gapless player leaves them out, and so
// does this reader, so that both show the same time for the same sample.
void CMp3File::SetTimeline(const VbrHeader& vbr) {
    constexpr int64_t kDecoderDelay = 529;
    const int64_t decoded =
        static_cast<int64_t>(index.offsets.size()) * static_cast<int64_t>(index.samplesPerFrame);
    int64_t begin = 0;
    int64_t end = decoded;
    gapAt = INT64_MAX;
    gapFrames = 0;
    // The player trusts the tag only when the header's frame count is there and the file
    // holds that many frames. More frames (files joined with `cat`) are played too: the
    // frames win, and the first part's padding is left out where its count ends.
    const auto frames = static_cast<int64_t>(index.offsets.size());
    if (vbr.gapless && vbr.frames > 0 && vbr.frames <= frames) {
        const int64_t counted = static_cast<int64_t>(vbr.frames) * index.samplesPerFrame;
        begin = std::min(counted, vbr.delay + kDecoderDelay);
        const int64_t partEnd = std::clamp(counted - vbr.padding + kDecoderDelay, begin, counted);
        if (counted < decoded) {
            gapAt = partEnd - begin;
            gapFrames = counted - partEnd;
            end = decoded - gapFrames;
        } else {
            end = partEnd;
        }
    }
    skipFrames = begin;
    lengthFrames = end - begin;
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
    index = FrameIndex{};
    ditherRestarts.clear();
    mad_frame_finish(&frame);
    mad_stream_finish(&stream);
}

void CMp3File::GetInfo(AudioInfo& out) {
    std::lock_guard<std::mutex> guard(lock);
    out = info;
}

int64_t CMp3File::GetLengthFrames() {
    std::lock_guard<std::mutex> guard(lock);
    return lengthFrames;
}

int64_t CMp3File::GetPositionFrames() {
    std::lock_guard<std::mutex> guard(lock);
    return nextFrame;
}

void CMp3File::SetCancelCheck(CancelCheck check) {
    std::lock_guard<std::mutex> guard(lock);
    cancelCheck = std::move(check);
}

bool CMp3File::GetLayout(StreamLayout& out) {
    std::lock_guard<std::mutex> guard(lock);
    if (file < 0) {
        return false;
    }
    out.index = index;
    out.audioEnd = audioEnd;
    out.timelineStart = skipFrames;
    out.lengthFrames = lengthFrames;
    out.joined = gapAt != INT64_MAX;
    return true;
}

bool CMp3File::ReadFailed() {
    std::lock_guard<std::mutex> guard(lock);
    return readFailed;
}

int CMp3File::PositionMsLocked() const {
    return info.sampleRate > 0 ? ClampToInt(std::llround(nextFrame * 1000.0 / info.sampleRate)) : 0;
}

int CMp3File::GetPositionMs() {
    std::lock_guard<std::mutex> guard(lock);
    return PositionMsLocked();
}
