#include "WaveformTrack.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

WaveColumn ReduceBuckets(std::span<const WaveBucket> buckets) {
    WaveColumn column;
    if (buckets.empty()) {
        return column;
    }
    column.empty = false;
    column.min = buckets.front().min;
    column.max = buckets.front().max;
    double squares = 0.0;
    for (const WaveBucket& b : buckets) {
        column.min = std::min<int>(column.min, b.min);
        column.max = std::max<int>(column.max, b.max);
        squares += static_cast<double>(b.rms) * b.rms;
    }
    column.rms = static_cast<int>(std::lround(std::sqrt(squares / buckets.size())));
    return column;
}

void WaveBucketMaker::Add(const int16_t* pcm, size_t frames, std::vector<WaveBucket>& out) {
    const int channels = format.channels;
    for (size_t i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            const int v = pcm[i * static_cast<size_t>(channels) + static_cast<size_t>(c)];
            if (frameCount == 0 && c == 0) {
                low = high = v;
            }
            low = std::min(low, v);
            high = std::max(high, v);
            squares += static_cast<double>(v) * v;
        }
        if (++frameCount == format.samplesPerBucket) {
            Finish(out);
        }
    }
}

void WaveBucketMaker::Finish(std::vector<WaveBucket>& out) {
    if (frameCount == 0) {
        return;
    }
    const double mean = squares / (static_cast<double>(frameCount) * format.channels);
    out.push_back({static_cast<int16_t>(low), static_cast<int16_t>(high),
                   static_cast<uint16_t>(std::min(32768L, std::lround(std::sqrt(mean))))});
    frameCount = 0;
    squares = 0.0;
}

void WaveformTrack::SetFormat(const WaveFormat& newFormat) {
    std::lock_guard lock(mutex);
    format = newFormat;
}

void WaveformTrack::Append(const std::vector<WaveBucket>& more) {
    std::lock_guard lock(mutex);
    for (const WaveBucket& b : more) {
        peak = std::max({peak, std::abs(static_cast<int>(b.min)), static_cast<int>(b.max)});
    }
    buckets.insert(buckets.end(), more.begin(), more.end());
    ++version;
}

void WaveformTrack::MarkDone(bool finished) {
    std::lock_guard lock(mutex);
    buckets.shrink_to_fit();
    complete = finished;
    done = true;
    ++version;
}

size_t WaveformTrack::MemoryBytes() const {
    std::lock_guard lock(mutex);
    return sizeof(*this) + buckets.capacity() * sizeof(WaveBucket);
}
