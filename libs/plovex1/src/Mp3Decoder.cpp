#include "Mp3Decoder.h"

#include <algorithm>
#include <mpg123.h>
#include <mutex>

namespace {

// How far junk is searched through for the next frame: as far as the cutter looks.
constexpr long kSyncSearchBytes = 128 * 1024;

void InitMpg123() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

} // namespace

CMp3Decoder::~CMp3Decoder() {
    Close();
}

void CMp3Decoder::Close() {
    if (handle) {
        mpg123_close(handle);
        mpg123_delete(handle);
        handle = nullptr;
    }
    source.reset();
}

// The byte where the stream's format (MPEG version, layer, sample rate) first changes, or -1.
// The cutter keeps to one format and ends there; so does the preview.
off_t CMp3Decoder::FormatChange() {
    mpg123_frameinfo first{};
    bool haveFirst = false;
    for (;;) {
        const int r = mpg123_framebyframe_next(handle);
        if (r != MPG123_OK && r != MPG123_NEW_FORMAT) {
            return -1;
        }
        mpg123_frameinfo now{};
        if (mpg123_info(handle, &now) != MPG123_OK) {
            return -1;
        }
        if (!haveFirst) {
            first = now;
            haveFirst = true;
        } else if (now.version != first.version || now.layer != first.layer ||
                   now.rate != first.rate) {
            return mpg123_framepos(handle);
        }
    }
}

bool CMp3Decoder::OpenStream() {
    if (handle) {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
    int err = MPG123_OK;
    handle = mpg123_new(nullptr, &err);
    if (!handle) {
        return false;
    }
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    // A growing frame index keeps seeks in long files as quick as in short ones.
    mpg123_param(handle, MPG123_INDEX_SIZE, -1000, 0);
    // Junk before the audio and between frames is searched through as far as the cutter does.
    mpg123_param(handle, MPG123_RESYNC_LIMIT, kSyncSearchBytes, 0);
    return mpg123_replace_reader_handle(handle, &CFileSource::ReadCallback,
                                        &CFileSource::SeekCallback, nullptr) == MPG123_OK &&
           mpg123_open_handle(handle, source.get()) == MPG123_OK;
}

bool CMp3Decoder::Open(const std::string& path) {
    Close();
    InitMpg123();
    long rate = 0;
    int encoding = 0;
    source = std::make_unique<CFileSource>();
    if (!source->Open(path.c_str()) || !OpenStream()) {
        Close();
        return false;
    }
    const off_t change = FormatChange();
    if (change > 0) {
        source->EndAt(change);
    }
    if (!OpenStream() || mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK ||
        rate <= 0 || channels < 1 || channels > 2) {
        Close();
        return false;
    }
    mpg123_format_none(handle);
    mpg123_format(handle, rate, channels, MPG123_ENC_SIGNED_16);
    sampleRate = static_cast<int>(rate);
    // The scan reads every frame header once: the exact length and the index for seeking.
    mpg123_scan(handle);
    const off_t length = mpg123_length(handle);
    mpg123_frameinfo info{};
    // Free-format streams state no frame length: the cutter cannot find their frames, so the
    // player does not offer them either.
    if (length <= 0 || mpg123_info(handle, &info) != MPG123_OK || info.bitrate == 0) {
        Close();
        return false;
    }
    lengthFrames = static_cast<int64_t>(length);
    layer = info.layer;
    return SeekFrame(0);
}

bool CMp3Decoder::SeekFrame(int64_t frame) {
    if (!handle) {
        return false;
    }
    frame = std::clamp<int64_t>(frame, 0, lengthFrames);
    const off_t reached = mpg123_seek(handle, static_cast<off_t>(frame), SEEK_SET);
    if (reached < 0) {
        return false;
    }
    positionFrames = static_cast<int64_t>(reached);
    return true;
}

size_t CMp3Decoder::Read(int16_t* out, size_t maxFrames) {
    if (!handle) {
        return 0;
    }
    // Never past the length the scan found: reading may resynchronise further than the scan.
    maxFrames = std::min<size_t>(
        maxFrames, static_cast<size_t>(std::max<int64_t>(0, lengthFrames - positionFrames)));
    const size_t frameBytes = 2 * static_cast<size_t>(channels);
    auto* bytes = reinterpret_cast<unsigned char*>(out);
    size_t filled = 0;
    while (filled < maxFrames * frameBytes) {
        size_t done = 0;
        const int r = mpg123_read(handle, bytes + filled, maxFrames * frameBytes - filled, &done);
        filled += done;
        if (r != MPG123_OK && r != MPG123_NEW_FORMAT) {
            break; // MPG123_DONE at the end; a broken stream ends here too
        }
        if (done == 0 && r == MPG123_OK) {
            break;
        }
    }
    const size_t frames = filled / frameBytes;
    positionFrames += static_cast<int64_t>(frames);
    return frames;
}
