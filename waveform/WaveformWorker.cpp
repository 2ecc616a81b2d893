#include "WaveformWorker.h"

#include <chrono>

namespace {

// One MPEG frame at most per read, so a cancel is seen after the frame being decoded.
constexpr int kReadFrames = 1152;

} // namespace

CWaveformWorker::~CWaveformWorker() {
    for (Job& job : jobs) {
        *job.cancel = true;
    }
    for (Job& job : jobs) {
        job.thread.join();
    }
}

void CWaveformWorker::Start(const PlayerApi& player, const std::string& path,
                            std::shared_ptr<WaveformTrack> track) {
    Cancel();
    Reap();
    Job job;
    job.cancel = std::make_shared<std::atomic<bool>>(false);
    job.ended = std::make_shared<std::atomic<bool>>(false);
    job.thread = std::thread([api = player, path, track, cancel = job.cancel, ended = job.ended] {
        Decode(api, path, *track, *cancel);
        *ended = true;
    });
    jobs.push_back(std::move(job));
}

void CWaveformWorker::Cancel() {
    if (!jobs.empty()) {
        *jobs.back().cancel = true;
    }
}

void CWaveformWorker::Reap() {
    for (auto it = jobs.begin(); it != jobs.end();) {
        if (*it->ended) {
            it->thread.join();
            it = jobs.erase(it);
        } else {
            ++it;
        }
    }
}

void CWaveformWorker::Decode(const PlayerApi& player, const std::string& path, WaveformTrack& track,
                             const std::atomic<bool>& cancel) {
    using Clock = std::chrono::steady_clock;
    PlovexDecoder* decoder = player.DecoderOpen(path.c_str());
    WaveFormat format;
    if (decoder == nullptr ||
        player.DecoderFormat(decoder, &format.sampleRate, &format.channels,
                             &format.samplesPerBucket) == 0 ||
        format.channels < 1 || format.channels > 2 || format.samplesPerBucket <= 0) {
        player.DecoderClose(decoder);
        track.MarkDone(false);
        return;
    }
    track.SetFormat(format);
    WaveBucketMaker maker(format);
    std::vector<int16_t> pcm(static_cast<size_t>(kReadFrames) * format.channels);
    std::vector<WaveBucket> fresh;
    auto published = Clock::now();
    bool ended = false;
    while (!cancel) {
        const int frames = player.DecoderRead(decoder, pcm.data(), kReadFrames);
        if (frames <= 0) {
            maker.Finish(fresh);
            ended = true;
        } else {
            maker.Add(pcm.data(), static_cast<size_t>(frames), fresh);
        }
        const auto now = Clock::now();
        if (ended || now - published >= std::chrono::milliseconds(kPublishMs)) {
            track.Append(fresh);
            fresh.clear();
            published = now;
        }
        if (ended) {
            break;
        }
    }
    player.DecoderClose(decoder);
    track.MarkDone(ended);
}
