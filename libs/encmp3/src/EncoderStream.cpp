#include "EncoderStream.h"

#include "LameSettings.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace encmp3 {
namespace {

// libmp3lame's bound for the output of n sample frames, and for a flush.
constexpr size_t kFlushBound = 7200;
size_t WorstCaseBytes(size_t frames) {
    return frames + frames / 4 + kFlushBound;
}

// Set to anything but "0" to encode in the caller's thread (for comparisons).
bool SynchronousRequested() {
    const char* value = std::getenv("TESMIRA_ENCMP3_SYNC");
    return value && *value && std::strcmp(value, "0") != 0;
}

} // namespace

std::unique_ptr<EncoderStream> EncoderStream::Create(const BE_CONFIG& config, BE_ERR& error) {
    lame_t encoder = lame_init();
    if (!encoder) {
        error = BE_ERR_NO_MORE_HANDLES;
        return nullptr;
    }
    std::unique_ptr<EncoderStream> stream(new EncoderStream(encoder));
    error = ConfigureLame(encoder, config, stream->channels);
    if (error != BE_ERR_SUCCESSFUL) {
        return nullptr;
    }
    if (!SynchronousRequested()) {
        stream->StartWorker();
    }
    return stream;
}

EncoderStream::EncoderStream(lame_t encoder) : lame(encoder) {}

EncoderStream::~EncoderStream() {
    if (worker.joinable()) {
        {
            std::lock_guard<std::mutex> guard(lock);
            quit = true;
        }
        wake.notify_all();
        worker.join();
    }
    lame_close(lame);
}

void EncoderStream::StartWorker() {
    try {
        worker = std::thread(&EncoderStream::WorkerLoop, this);
    } catch (const std::system_error&) {
        // No thread to be had: encode in the caller's thread instead.
    }
}

DWORD EncoderStream::SamplesPerChunk() const {
    return static_cast<DWORD>(lame_get_framesize(lame) * channels);
}

DWORD EncoderStream::MinOutputBuffer() const {
    return static_cast<DWORD>(WorstCaseBytes(static_cast<size_t>(lame_get_framesize(lame))));
}

void EncoderStream::WorkerLoop() {
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        wake.wait(guard, [this] { return busy || quit; });
        if (quit) {
            return;
        }
        guard.unlock();
        EncodeInput();
        guard.lock();
        busy = false;
        wake.notify_all();
    }
}

void EncoderStream::EncodeInput() {
    const size_t room = WorstCaseBytes(inputFrames);
    if (encoded.size() < room) {
        encoded.resize(room);
    }
    const int frames = static_cast<int>(inputFrames);
    const int size = static_cast<int>(encoded.size());
    if (channels == 2) {
        encodedBytes =
            lame_encode_buffer_interleaved(lame, input.data(), frames, encoded.data(), size);
    } else {
        encodedBytes =
            lame_encode_buffer(lame, input.data(), nullptr, frames, encoded.data(), size);
    }
}

BE_ERR EncoderStream::CollectEncoded() {
    if (worker.joinable()) {
        std::unique_lock<std::mutex> guard(lock);
        wake.wait(guard, [this] { return !busy; });
    }
    if (encodedBytes < 0) {
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    }
    if (pendingStart > 0) {
        pending.erase(pending.begin(), pending.begin() + static_cast<ptrdiff_t>(pendingStart));
        pendingStart = 0;
    }
    pending.insert(pending.end(), encoded.begin(), encoded.begin() + encodedBytes);
    encodedBytes = 0;
    return BE_ERR_SUCCESSFUL;
}

DWORD EncoderStream::TakePending(BYTE* out, size_t limit) {
    const size_t n = std::min(limit, PendingSize());
    if (n > 0) {
        std::memcpy(out, pending.data() + pendingStart, n);
        pendingStart += n;
    }
    if (pendingStart == pending.size()) {
        pending.clear();
        pendingStart = 0;
    }
    return static_cast<DWORD>(n);
}

BE_ERR EncoderStream::Encode(DWORD samples, const int16_t* pcm, BYTE* out, DWORD* produced) {
    if (flushed) {
        return BE_ERR_INVALID_HANDLE;
    }
    const auto perChannel = static_cast<DWORD>(channels);
    if (!out || !produced || (samples > 0 && !pcm) || samples % perChannel != 0 ||
        WorstCaseBytes(samples / perChannel) > static_cast<size_t>(INT_MAX)) {
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    }
    *produced = 0;
    const BE_ERR error = CollectEncoded();
    if (error != BE_ERR_SUCCESSFUL) {
        return error;
    }
    // A buffer sized for this call's chunk is all the caller promises.
    const size_t frames = samples / perChannel;
    const size_t cap = std::max<size_t>(MinOutputBuffer(), WorstCaseBytes(frames));
    DWORD written = TakePending(out, cap);
    if (frames > 0) {
        input.assign(pcm, pcm + samples);
        inputFrames = frames;
        // Run ahead only while everything still owed fits into the final flush's buffer.
        const bool fits =
            PendingSize() + WorstCaseBytes(frames) + kFlushBound <= ENCMP3_DEINIT_BUFFER_SIZE;
        if (worker.joinable() && fits) {
            {
                std::lock_guard<std::mutex> guard(lock);
                busy = true;
            }
            wake.notify_all();
        } else {
            EncodeInput();
            if (CollectEncoded() != BE_ERR_SUCCESSFUL) {
                *produced = written;
                return BE_ERR_INVALID_FORMAT_PARAMETERS;
            }
            written += TakePending(out + written, cap - written);
        }
    }
    *produced = written;
    return BE_ERR_SUCCESSFUL;
}

BE_ERR EncoderStream::Deinit(BYTE* out, DWORD* produced) {
    if (!out || !produced) {
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    }
    *produced = 0;
    if (!flushed) {
        const BE_ERR error = CollectEncoded();
        flushed = true;
        if (error != BE_ERR_SUCCESSFUL) {
            return error;
        }
        encoded.resize(std::max(encoded.size(), WorstCaseBytes(4 * 1152)));
        encodedBytes = lame_encode_flush(lame, encoded.data(), static_cast<int>(encoded.size()));
        if (CollectEncoded() != BE_ERR_SUCCESSFUL) {
            return BE_ERR_INVALID_FORMAT_PARAMETERS;
        }
    }
    *produced = TakePending(out, ENCMP3_DEINIT_BUFFER_SIZE);
    return BE_ERR_SUCCESSFUL;
}

std::vector<uint8_t> EncoderStream::LameTagFrame() const {
    if (!lame_get_bWriteVbrTag(lame)) {
        return {};
    }
    std::vector<uint8_t> frame(2880);
    const size_t size = lame_get_lametag_frame(lame, frame.data(), frame.size());
    frame.resize(size <= frame.size() ? size : 0);
    return frame;
}

} // namespace encmp3
