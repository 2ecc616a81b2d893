// Plays a generated melody through the player library and prints what it reports against the
// wall clock: position, seek accuracy, and how long 10 s of source take at rate 1.10.
#include "BenchPlayer.h"

#include <cmath>
#include <thread>

using namespace std::chrono_literals;

namespace {

void PositionAgainstWallTime(BenchPlayer& player) {
    std::printf("position vs wall time at rate 1.00:\n");
    player.Play();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i <= 6; ++i) {
        std::this_thread::sleep_until(start + i * 500ms);
        const double wall = MsSince(start);
        const int position = player.GetPos();
        std::printf("  wall %7.1f ms  position %6d ms  difference %+6.1f ms\n", wall, position,
                    position - wall);
    }
}

void SeekAccuracy(BenchPlayer& player) {
    std::printf("seek accuracy (want within 30 ms):\n");
    for (int target : {5000, 20000, 12345}) {
        player.SetPos(target);
        const int atOnce = player.GetPos();
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(1000ms);
        const double expected = target + MsSince(start);
        const int later = player.GetPos();
        std::printf("  SetPos(%d): at once %d (%+d), a second later %d (%+.1f)\n", target, atOnce,
                    atOnce - target, later, later - expected);
    }
}

void RateTiming(BenchPlayer& player) {
    player.SetRate(1.10);
    player.SetPos(0);
    player.Play();
    const auto start = std::chrono::steady_clock::now();
    while (player.GetPos() < 10000) {
        std::this_thread::sleep_for(5ms);
    }
    const double seconds = MsSince(start) / 1000.0;
    std::printf("rate 1.10: 10 s of source played in %.2f s (want about %.2f)\n", seconds,
                10.0 / 1.10);
    player.SetRate(1.0);
}

} // namespace

int main() {
    BenchPlayer player;
    if (!player.Load()) {
        return 1;
    }
    const std::string path = MakeBenchMp3("tesmira_player_demo.mp3", 30.0);
    if (!player.Open(path.c_str())) {
        std::fprintf(stderr, "Open failed\n");
        return 1;
    }
    std::printf("opened %s: %d ms, %d Hz, %d channel(s)\n", path.c_str(), player.GetLen(),
                player.GetAudioSamplesPerSec(), player.GetAduioChannels());
    PositionAgainstWallTime(player);
    SeekAccuracy(player);
    RateTiming(player);
    player.Close();
    std::filesystem::remove(path);
    return 0;
}
