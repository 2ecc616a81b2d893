#include "Player.h"

#include <algorithm>
#include <cmath>

CPlayer& CPlayer::Instance() {
    static CPlayer player;
    return player;
}

CPlayer::CPlayer() : feeder([this] { FeederLoop(); }) {}

CPlayer::~CPlayer() {
    {
        std::lock_guard lock(mutex);
        quit = true;
    }
    wake.notify_all();
    feeder.join();
    if (output) {
        output->Close();
    }
}

bool CPlayer::Open(const std::string& path) {
    std::lock_guard openLock(openMutex);
    // Scanning the file takes the longest: done before the playing file is touched, so a
    // failure leaves it playing as it was.
    auto fresh = std::make_unique<CMp3Decoder>();
    if (!fresh->Open(path)) {
        return false;
    }
    const int rate = fresh->SampleRate();
    const int channels = fresh->Channels();
    std::unique_ptr<CAudioOutput> freshOutput;
    // A device missing last time is looked for again: it may have been plugged in since.
    if (!output || outputRate != rate || outputChannels != channels || !output->IsDevice()) {
        freshOutput = OpenAudioOutput(rate, channels);
    }
    std::unique_ptr<CMp3Decoder> oldDecoder;
    std::unique_ptr<CAudioOutput> oldOutput;
    {
        std::lock_guard lock(mutex);
        if (output) {
            output->Pause();
        }
        if (freshOutput) {
            oldOutput = std::move(output);
            output = std::move(freshOutput);
            outputRate = rate;
            outputChannels = channels;
        }
        oldDecoder = std::move(decoder);
        decoder = std::move(fresh);
        tempoPitch.Configure(rate, channels);
        state = PLOVEX_STATE_STOPPED;
        SeekLocked(0);
    }
    // Closing an SDL device waits for its thread: outside the lock, the feeder goes on.
    return true;
}

bool CPlayer::Close() {
    std::lock_guard openLock(openMutex);
    std::unique_ptr<CMp3Decoder> oldDecoder;
    std::unique_ptr<CAudioOutput> oldOutput;
    {
        std::lock_guard lock(mutex);
        if (output) {
            output->Pause();
        }
        oldDecoder = std::move(decoder);
        oldOutput = std::move(output);
        outputRate = outputChannels = 0;
        state = PLOVEX_STATE_CLOSED;
        anchorFrame = writtenFrames = 0;
        sourceEnded = flushed = false;
    }
    return true;
}

bool CPlayer::Play() {
    std::lock_guard lock(mutex);
    if (!decoder) {
        return false;
    }
    // After the end has been heard, play starts over.
    if (state != PLOVEX_STATE_PLAYING && HeardFrameLocked() >= decoder->LengthFrames()) {
        SeekLocked(0);
    }
    state = PLOVEX_STATE_PLAYING;
    output->Start();
    wake.notify_all();
    return true;
}

bool CPlayer::Pause() {
    std::lock_guard lock(mutex);
    if (!decoder) {
        return false;
    }
    output->Pause();
    state = PLOVEX_STATE_PAUSED;
    return true;
}

bool CPlayer::Stop() {
    std::lock_guard lock(mutex);
    if (!decoder) {
        return false;
    }
    output->Pause();
    state = PLOVEX_STATE_STOPPED;
    SeekLocked(0);
    return true;
}

bool CPlayer::SetPositionMs(int ms) {
    std::lock_guard lock(mutex);
    if (!decoder) {
        return false;
    }
    SeekLocked(FrameFromMsLocked(ms));
    return true;
}

int64_t CPlayer::FrameFromMsLocked(int ms) const {
    const int64_t length = decoder->LengthFrames();
    const double frame = std::max(0, ms) * static_cast<double>(decoder->SampleRate()) / 1000.0;
    // GetLen is rounded: a time at it means the very end, not a few frames before it.
    return ms >= MsFromFrames(length) ? length : std::llround(frame);
}

int64_t CPlayer::EndFrameLocked() const {
    const int64_t length = decoder->LengthFrames();
    return stopMs < 0 ? length : std::min(length, FrameFromMsLocked(stopMs));
}

void CPlayer::SeekLocked(int64_t frame) {
    decoder->SeekFrame(frame);
    output->Reset();
    tempoPitch.Clear();
    anchorFrame = decoder->PositionFrames();
    writtenFrames = 0;
    sourceEnded = false;
    flushed = false;
    // Tempo and pitch only take effect at a seek, so the position arithmetic stays exact.
    stretching = tempo != 1.0 || pitch != 1.0;
    stretchTempo = stretching ? tempo : 1.0;
    if (stretching) {
        // The speed as the cut takes it, so the preview is stretched exactly as the cut.
        tempoPitch.SetTempoChange(static_cast<float>(tempo * 100.0 - 100.0));
        tempoPitch.SetPitch(static_cast<float>(pitch));
    }
    wake.notify_all();
}

int64_t CPlayer::HeardFrameLocked() const {
    if (!decoder) {
        return 0;
    }
    const double delayFrames = output->DelayMs() * decoder->SampleRate() / 1000.0;
    const double played = std::max(0.0, static_cast<double>(writtenFrames) - delayFrames);
    const int64_t frame = anchorFrame + std::llround(played * stretchTempo);
    return std::clamp<int64_t>(frame, 0, decoder->LengthFrames());
}

int CPlayer::MsFromFrames(int64_t frames) const {
    if (!decoder || decoder->SampleRate() <= 0) {
        return 0;
    }
    const double ms = static_cast<double>(frames) * 1000.0 / decoder->SampleRate();
    return static_cast<int>(std::min<double>(std::llround(ms), 2147483647.0));
}

bool CPlayer::IsOpen() const {
    std::lock_guard lock(mutex);
    return decoder != nullptr;
}

int CPlayer::LengthMs() const {
    std::lock_guard lock(mutex);
    return decoder ? MsFromFrames(decoder->LengthFrames()) : 0;
}

int CPlayer::PositionMs() const {
    std::lock_guard lock(mutex);
    return MsFromFrames(HeardFrameLocked());
}

int CPlayer::State() const {
    std::lock_guard lock(mutex);
    return state;
}

int CPlayer::Channels() const {
    std::lock_guard lock(mutex);
    return decoder ? decoder->Channels() : 0;
}

int CPlayer::SampleRate() const {
    std::lock_guard lock(mutex);
    return decoder ? decoder->SampleRate() : 0;
}

bool CPlayer::HasAudioDevice() const {
    std::lock_guard lock(mutex);
    return decoder && output && output->IsDevice();
}

int CPlayer::Layer() const {
    std::lock_guard lock(mutex);
    return decoder ? decoder->Layer() : 0;
}
