// Timings of the preview player: Open of a 4-minute file, seeks, and the CPU that playing takes.
#include "BenchPlayer.h"

#include <algorithm>
#include <random>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Share of one core used by the whole process while the player plays for the given time.
double CpuWhilePlaying(BenchPlayer& player, double rate, std::chrono::seconds playFor) {
    player.SetRate(rate);
    player.SetPos(10000);
    player.Play();
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // past the first fill
    const double cpuStart = CpuSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(playFor);
    const double percent = (CpuSeconds() - cpuStart) * 100000.0 / MsSince(wallStart);
    player.Stop();
    player.SetRate(1.0);
    return percent;
}

} // namespace

int main() {
    BenchPlayer player;
    if (!player.Load()) {
        return 1;
    }
    std::printf("making a 4-minute 44.1 kHz stereo MP3...\n");
    const std::string path = MakeBenchMp3("tesmira_player_bench.mp3", 240.0);

    std::vector<double> opens;
    for (int i = 0; i < 7; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!player.Open(path.c_str())) {
            std::fprintf(stderr, "Open failed\n");
            return 1;
        }
        opens.push_back(MsSince(start));
    }
    std::printf("Open (4 min, exact length %d ms): median %.1f ms, first %.1f ms (want < 100)\n",
                player.GetLen(), Median(opens), opens.front());

    std::mt19937 random(42);
    std::uniform_int_distribution<int> anywhere(0, player.GetLen());
    std::vector<double> seeks;
    player.Play();
    for (int i = 0; i < 41; ++i) {
        const auto start = std::chrono::steady_clock::now();
        player.SetPos(anywhere(random));
        seeks.push_back(MsSince(start));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    player.Stop();
    std::printf("SetPos while playing: median %.2f ms, worst %.2f ms (want < 20)\n", Median(seeks),
                *std::max_element(seeks.begin(), seeks.end()));

    std::printf("CPU playing at rate 1.00: %.2f %% of a core (want < 5)\n",
                CpuWhilePlaying(player, 1.0, std::chrono::seconds(4)));
    std::printf("CPU playing at rate 1.10: %.2f %% of a core\n",
                CpuWhilePlaying(player, 1.10, std::chrono::seconds(4)));
    player.Close();
    std::filesystem::remove(path);
    return 0;
}
