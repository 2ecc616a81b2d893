// CPlayer: the feeder thread that keeps the output a little ahead of the device.
#include "Player.h"

#include "Gain.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr size_t kBlockFrames = 1024;
// Enough to ride out a busy moment, short enough that seeks and pauses are heard at once.
constexpr double kAheadMs = 120.0;
constexpr auto kPoll = std::chrono::milliseconds(10);

} // namespace

void CPlayer::FeederLoop() {
    std::unique_lock lock(mutex);
    while (!quit) {
        if (state != PLOVEX_STATE_PLAYING || !decoder) {
            wake.wait(lock);
            continue;
        }
        if (output->DelayMs() >= kAheadMs) {
            wake.wait_for(lock, kPoll);
            continue;
        }
        if (!ProduceBlockLocked()) {
            // Everything is written: the end is reached once the device has played it.
            if (output->DelayMs() <= 0.0) {
                FinishAtEndLocked();
            } else {
                wake.wait_for(lock, kPoll);
            }
            continue;
        }
        const int channels = decoder->Channels();
        const int rate = decoder->SampleRate();
        const size_t frames = block.size() / static_cast<size_t>(channels);
        if (frames == 0) {
            continue; // SoundTouch is still gathering input
        }
        output->Write(block.data(), frames);
        writtenFrames += static_cast<int64_t>(frames);
        lock.unlock();
        ReportBlock(channels, rate);
        lock.lock();
    }
}

bool CPlayer::ProduceBlockLocked() {
    block.clear();
    if (sourceEnded) {
        return false;
    }
    const int channels = decoder->Channels();
    decoded.resize(kBlockFrames * static_cast<size_t>(channels));
    const int64_t firstFrame = decoder->PositionFrames();
    // Nothing past the stop position is decoded, so the output ends on its very sample.
    const int64_t left = std::max<int64_t>(0, EndFrameLocked() - firstFrame);
    const size_t frames =
        left == 0 ? 0 : decoder->Read(decoded.data(), std::min<size_t>(kBlockFrames, left));
    if (frames == 0) {
        if (stretching && !flushed) {
            flushed = true;
            tempoPitch.Flush();
            ReceiveStretched(channels);
        }
        if (block.empty()) {
            sourceEnded = true;
            return false;
        }
    } else {
        const size_t values = frames * static_cast<size_t>(channels);
        const int64_t endFrame = firstFrame + static_cast<int64_t>(frames);
        fades.Apply(decoded.data(), values, endFrame * 1000 / decoder->SampleRate());
        if (stretching) {
            tempoPitch.Put(decoded.data(), frames);
            ReceiveStretched(channels);
        } else {
            block.assign(decoded.begin(), decoded.begin() + static_cast<ptrdiff_t>(values));
        }
    }
    // 50 is the file's own loudness: those samples go out untouched.
    if (volume != 50) {
        ApplyGain(block.data(), block.size(), static_cast<float>(volume / 50.0));
    }
    return true;
}

void CPlayer::ReceiveStretched(int channels) {
    block.resize(tempoPitch.ReadyFrames() * static_cast<size_t>(channels));
    const size_t frames = tempoPitch.Receive(block.data(), block.size() / channels);
    block.resize(frames * static_cast<size_t>(channels));
}

void CPlayer::FinishAtEndLocked() {
    // Stop at the end (or the stop position): the position stays there until the next seek or play.
    output->Pause();
    output->Reset();
    state = PLOVEX_STATE_STOPPED;
    anchorFrame = EndFrameLocked();
    writtenFrames = 0;
}

void CPlayer::ReportBlock(int channels, int sampleRate) {
    std::lock_guard lock(callbackMutex);
    if (pcmCallback) {
        pcmCallback(block.data(), static_cast<int>(block.size()), channels, sampleRate, pcmUser);
    }
}
