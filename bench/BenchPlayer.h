#pragma once
// libPlovex1.so loaded from beside the bench programs, as the window loads it.
#include "DynamicLibrary.h"
#include "ExecutableFolder.h"
#include "Mp3Gen.h"
#include "Plovex1.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

struct BenchPlayer {
#define BENCH_PLAYER_FIELD(name) PlovexFn_##name name = nullptr;
    PLOVEX1_EXPORTS(BENCH_PLAYER_FIELD)
#undef BENCH_PLAYER_FIELD

    // False (with a message) when the library or one of its exports is missing.
    bool Load() {
        // Without a sound card the dummy driver still plays in real time; a caller may override.
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        const std::string path = GetExecutableFolder() + "libPlovex1.so";
        if (!library.Load(path)) {
            std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), library.LastError().c_str());
            return false;
        }
        bool complete = true;
#define BENCH_PLAYER_RESOLVE(name)                                                                 \
    name = reinterpret_cast<PlovexFn_##name>(library.Symbol(#name));                               \
    complete = complete && name != nullptr;
        PLOVEX1_EXPORTS(BENCH_PLAYER_RESOLVE)
#undef BENCH_PLAYER_RESOLVE
        if (!complete) {
            std::fprintf(stderr, "%s lacks an export\n", path.c_str());
        }
        return complete;
    }

    CDynamicLibrary library;
};

// A generated melody of the given length in the system's temporary folder.
inline std::string MakeBenchMp3(const std::string& name, double seconds) {
    mp3gen::ToneSpec params;
    params.seconds = seconds;
    params.melody = true;
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    if (!mp3gen::WriteFileBytes(path, mp3gen::MakeMp3(params))) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
    return path;
}

inline double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}
