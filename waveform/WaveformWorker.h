#pragma once
// Decodes whole files into waveform tracks on threads of their own, each with its own decoder
// handle of the player library (so its buckets keep the preview's time base). Starting another
// file cancels the running one, which stops after the frame it is decoding; the window never
// waits for it.
#include "PlayerApi.h"
#include "WaveformTrack.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class CWaveformWorker {
public:
    CWaveformWorker() = default;
    ~CWaveformWorker();
    CWaveformWorker(const CWaveformWorker&) = delete;
    CWaveformWorker& operator=(const CWaveformWorker&) = delete;

    // Fills track from path with player's decoder, publishing what is decoded at least every
    // kPublishMs.
    void Start(const PlayerApi& player, const std::string& path,
               std::shared_ptr<WaveformTrack> track);
    // Cancels the running decode (if any); its track ends done but not complete.
    void Cancel();

    static constexpr int kPublishMs = 50;

    // The decode itself, on the calling thread: until the end, a stream that can no longer be
    // decoded (what was decoded stays) or cancel. For the worker's threads and the bench.
    static void Decode(const PlayerApi& player, const std::string& path, WaveformTrack& track,
                       const std::atomic<bool>& cancel);

private:
    struct Job {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> cancel;
        std::shared_ptr<std::atomic<bool>> ended;
    };
    // Joins the cancelled jobs that have ended.
    void Reap();

    std::vector<Job> jobs; // the last one is the running one
};
