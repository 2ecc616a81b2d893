// The waveform's figures: the player's open beside the strip's first columns and the whole
// strip, for a 4-minute and a one-hour song, and the memory its buckets take.
#include "BenchPlayer.h"
#include "PlayerApi.h"
#include "WaveformWorker.h"

#include <atomic>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

void Measure(const BenchPlayer& bench, const PlayerApi& api, const char* name, double seconds) {
    const std::string path = MakeBenchMp3(name, seconds);
    auto start = Clock::now();
    bench.Open(path.c_str());
    const double openMs = MsSince(start);

    WaveformTrack track;
    std::atomic<bool> cancel{false};
    start = Clock::now();
    std::thread worker([&] { CWaveformWorker::Decode(api, path, track, cancel); });
    while (track.Version() == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const double firstMs = MsSince(start);
    worker.join();
    const double wholeMs = MsSince(start);
    const double bytesPerHour = track.MemoryBytes() * 3600.0 / seconds;
    std::printf("%-10s %7.0f s  player open %7.1f ms  first columns %7.1f ms  whole strip "
                "%8.1f ms  memory %.2f MB per hour\n",
                name, seconds, openMs, firstMs, wholeMs, bytesPerHour / (1024.0 * 1024.0));
}

} // namespace

int main(int argc, char** argv) {
    BenchPlayer bench;
    if (!bench.Load()) {
        return 1;
    }
    PlayerApi api;
#define WAVEFORM_BENCH_ENTRY(name) api.name = bench.name;
    PLOVEX1_EXPORTS(WAVEFORM_BENCH_ENTRY)
#undef WAVEFORM_BENCH_ENTRY
    Measure(bench, api, "4min.mp3", 240.0);
    // The hour takes its generator a while; "--short" leaves it out.
    if (argc < 2 || std::string(argv[1]) != "--short") {
        Measure(bench, api, "1hour.mp3", 3600.0);
    }
    return 0;
}
