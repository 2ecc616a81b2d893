#pragma once
// The waveforms of the last files opened, kept in memory so that going back to one shows it at
// once. A file is the same file while its path, size and modification time are.
#include "WaveformTrack.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>

class CWaveformCache {
public:
    static constexpr size_t kFiles = 8;

    // The track kept for path, or a new empty one (then fresh is set and the caller fills it).
    // A track whose decode was cancelled is not kept.
    std::shared_ptr<WaveformTrack> TrackFor(const std::string& path, bool& fresh);

private:
    struct Entry {
        std::string path;
        uintmax_t size = 0;
        int64_t modified = 0;
        std::shared_ptr<WaveformTrack> track;
    };
    std::list<Entry> entries; // most recent first
};
