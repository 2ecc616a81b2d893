#pragma once
// One file's waveform: a bucket per decoded MPEG frame (the minimum and maximum over both
// channels, never a mix, and the RMS), filled by a worker while the window paints from it.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

struct WaveBucket {
    int16_t min = 0;
    int16_t max = 0;
    uint16_t rms = 0;
    bool operator==(const WaveBucket&) const = default;
};

struct WaveFormat {
    int sampleRate = 0;
    int channels = 0;
    int samplesPerBucket = 0; // one MPEG frame
};

// A column's summary of a run of buckets.
struct WaveColumn {
    int min = 0;
    int max = 0;
    int rms = 0;
    bool empty = true;
};
WaveColumn ReduceBuckets(std::span<const WaveBucket> buckets);

// Turns PCM in pieces of any size into buckets of samplesPerBucket frames each.
class WaveBucketMaker {
public:
    explicit WaveBucketMaker(const WaveFormat& bucketFormat) : format(bucketFormat) {}
    void Add(const int16_t* pcm, size_t frames, std::vector<WaveBucket>& out);
    // The last, shorter bucket (if any).
    void Finish(std::vector<WaveBucket>& out);

private:
    WaveFormat format;
    int frameCount = 0;
    int low = 0;
    int high = 0;
    double squares = 0.0;
};

// Shared between one worker, which appends, and the window, which reads.
class WaveformTrack {
public:
    void SetFormat(const WaveFormat& format);
    void Append(const std::vector<WaveBucket>& more);
    void MarkDone(bool complete);

    // Runs read(format, buckets, peak) under the track's lock.
    template <class Reader> void Read(Reader&& read) const {
        std::lock_guard lock(mutex);
        read(format, std::span<const WaveBucket>(buckets), peak);
    }
    // Grows with every Append, so a reader can tell that something new arrived.
    uint64_t Version() const { return version.load(); }
    bool Done() const { return done.load(); }
    // Done and every frame decoded (not cancelled).
    bool Complete() const { return complete.load(); }
    size_t MemoryBytes() const;

private:
    mutable std::mutex mutex;
    WaveFormat format;
    std::vector<WaveBucket> buckets;
    int peak = 0;
    std::atomic<uint64_t> version{0};
    std::atomic<bool> done{false};
    std::atomic<bool> complete{false};
};
