#include "WaveformCache.h"

#include <filesystem>

std::shared_ptr<WaveformTrack> CWaveformCache::TrackFor(const std::string& path, bool& fresh) {
    namespace fs = std::filesystem;
    std::error_code error;
    Entry wanted;
    wanted.path = path;
    wanted.size = fs::file_size(fs::u8path(path), error);
    wanted.modified =
        error ? 0
              : static_cast<int64_t>(
                    fs::last_write_time(fs::u8path(path), error).time_since_epoch().count());
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (it->path != path) {
            continue;
        }
        const bool cancelled = it->track->Done() && !it->track->Complete();
        if (!error && !cancelled && it->size == wanted.size && it->modified == wanted.modified) {
            entries.splice(entries.begin(), entries, it);
            fresh = false;
            return entries.front().track;
        }
        entries.erase(it);
        break;
    }
    wanted.track = std::make_shared<WaveformTrack>();
    entries.push_front(wanted);
    if (entries.size() > kFiles) {
        entries.pop_back();
    }
    fresh = true;
    return entries.front().track;
}
