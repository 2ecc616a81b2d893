#include "EncoderStream.h"

#include "LameSettings.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <system_error>

namespace encmp3 {
namespace {

// libmp3lame's bound for the output of n sample frames, and for a flush.
constexpr size_t kFlushBound = 7200;
size_t WorstCaseBytes(size_t frames) {
    return frames + frames / 4 + kFlushBound;
}

// Blocks waiting for the encoder thread: enough to keep it busy while the caller
// waits for the processor. A full queue is refilled once half of it is done, so
// the caller wakes once per several blocks, not once per block.
constexpr size_t kQueueDepth = 16;
constexpr size_t kRefillBelow = kQueueDepth / 2;
// Most MP3 bytes the stream owes its caller at any time (queued, being encoded or not yet
// handed out); beyond it the caller waits or encodes in its own thread.
constexpr size_t kMaxOwedBytes = 512000;

} // namespace

std::unique_ptr<EncoderStream> EncoderStream::Create(const BE_CONFIG& config, BE_ERR& error,
                                                     EncoderThreading threading) {
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
    stream->workerWanted = threading == EncoderThreading::OwnThread;
    return stream;
}

EncoderStream::EncoderStream(lame_t encoder) : lame(encoder) {}

EncoderStream::~EncoderStream() {
    if (worker.joinable()) {
        {
            std::lock_guard<std::mutex> guard(lock);
            quit = true;
        }
        changed.notify_all();
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
        changed.wait(guard, [this] { return quit || !queue.empty(); });
        if (quit) {
            return;
        }
        Block block = std::move(queue.front());
        queue.pop_front();
        guard.unlock();
        const int bytes = EncodeFrames(block.samples.data(), block.frames, workerScratch);
        guard.lock();
        Append(workerScratch, bytes);
        queuedWorstBytes -= block.worstBytes;
        spare.push_back(std::move(block.samples));
        changed.notify_all();
    }
}

int EncoderStream::EncodeFrames(int16_t* samples, size_t frames, std::vector<uint8_t>& scratch) {
    const size_t room = WorstCaseBytes(frames);
    if (scratch.size() < room) {
        scratch.resize(room);
    }
    const int count = static_cast<int>(frames);
    const int size = static_cast<int>(scratch.size());
    if (channels == 2) {
        return lame_encode_buffer_interleaved(lame, samples, count, scratch.data(), size);
    }
    return lame_encode_buffer(lame, samples, nullptr, count, scratch.data(), size);
}

void EncoderStream::Append(const std::vector<uint8_t>& bytes, int count) {
    if (count < 0) {
        failed = true;
        return;
    }
    if (pendingStart > 0) {
        pending.erase(pending.begin(), pending.begin() + static_cast<ptrdiff_t>(pendingStart));
        pendingStart = 0;
    }
    pending.insert(pending.end(), bytes.begin(), bytes.begin() + count);
}

DWORD EncoderStream::TakePending(BYTE* out, size_t limit) {
    const size_t n = std::min(limit, pending.size() - pendingStart);
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

void EncoderStream::Enqueue(const int16_t* pcm, DWORD samples, size_t worstBytes) {
    Block block;
    if (!spare.empty()) {
        block.samples = std::move(spare.back());
        spare.pop_back();
    }
    block.samples.assign(pcm, pcm + samples);
    block.frames = samples / static_cast<DWORD>(channels);
    block.worstBytes = worstBytes;
    queuedWorstBytes += worstBytes;
    queue.push_back(std::move(block));
    changed.notify_all();
}

// Only while the worker is idle, so the encoder is ours alone.
BE_ERR EncoderStream::EncodeHere(const int16_t* pcm, DWORD samples,
                                 std::unique_lock<std::mutex>& guard) {
    guard.unlock();
    std::vector<int16_t> copy(pcm, pcm + samples); // the encoder wants writable samples
    const int bytes =
        EncodeFrames(copy.data(), samples / static_cast<DWORD>(channels), callerScratch);
    guard.lock();
    Append(callerScratch, bytes);
    return failed ? BE_ERR_INVALID_FORMAT_PARAMETERS : BE_ERR_SUCCESSFUL;
}

BE_ERR EncoderStream::Encode(DWORD samples, const int16_t* pcm, BYTE* out, DWORD* produced) {
    const auto perChannel = static_cast<DWORD>(channels);
    if (flushed) {
        return BE_ERR_INVALID_HANDLE;
    }
    if (!out || !produced || (samples > 0 && !pcm) || samples % perChannel != 0 ||
        WorstCaseBytes(samples / perChannel) > static_cast<size_t>(INT_MAX)) {
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    }
    *produced = 0;
    if (workerWanted) {
        workerWanted = false;
        StartWorker();
    }
    const size_t worst = WorstCaseBytes(samples / perChannel);
    // A buffer sized for this call's chunk is all the caller promises.
    const size_t cap = std::max<size_t>(MinOutputBuffer(), worst);
    std::unique_lock<std::mutex> guard(lock);
    if (samples > 0) {
        // Queue only while everything still owed fits into the final flush's buffer.
        const auto fits = [&] {
            return pending.size() - pendingStart + queuedWorstBytes + worst + kFlushBound <=
                   kMaxOwedBytes;
        };
        if (worker.joinable()) {
            const size_t below = queue.size() >= kQueueDepth ? kRefillBelow : kQueueDepth;
            changed.wait(guard,
                         [&] { return failed || Idle() || (queue.size() < below && fits()); });
        }
        if (failed) {
            return BE_ERR_INVALID_FORMAT_PARAMETERS;
        }
        if (worker.joinable() && fits()) {
            Enqueue(pcm, samples, worst);
        } else if (EncodeHere(pcm, samples, guard) != BE_ERR_SUCCESSFUL) {
            return BE_ERR_INVALID_FORMAT_PARAMETERS;
        }
    }
    *produced = TakePending(out, cap);
    return failed ? BE_ERR_INVALID_FORMAT_PARAMETERS : BE_ERR_SUCCESSFUL;
}

BE_ERR EncoderStream::Deinit(BYTE* out, DWORD* produced) {
    if (!out || !produced) {
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    }
    *produced = 0;
    std::unique_lock<std::mutex> guard(lock);
    if (!flushed) {
        flushed = true;
        changed.wait(guard, [this] { return Idle(); });
        if (failed) {
            return BE_ERR_INVALID_FORMAT_PARAMETERS;
        }
        callerScratch.resize(std::max(callerScratch.size(), WorstCaseBytes(4 * 1152)));
        Append(callerScratch, lame_encode_flush(lame, callerScratch.data(),
                                                static_cast<int>(callerScratch.size())));
        if (failed) {
            return BE_ERR_INVALID_FORMAT_PARAMETERS;
        }
    }
    // No more than the buffer beInitStream asked for; the rest comes with the next calls.
    *produced = TakePending(out, MinOutputBuffer());
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
