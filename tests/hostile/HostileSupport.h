#pragma once
// What the hostile-input, fault and long-file tests share: the real player library, the
// real tesmira-cut binary, checksums of sources and peak memory.
#include "Plovex1.h"

#include <cstdint>
#include <string>
#include <vector>

// Built with AddressSanitizer: slower, and memory figures that are its own.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

struct PlayerTable {
#define HOSTILE_PLAYER_FIELD(name) PlovexFn_##name name = nullptr;
    PLOVEX1_EXPORTS(HOSTILE_PLAYER_FIELD)
#undef HOSTILE_PLAYER_FIELD
};

// libPlovex1.so loaded once for the process, as the program loads it; null entries if not.
const PlayerTable& Player();

struct CutterRun {
    int exitCode = -1;  // -1: killed by a signal, -2: killed for taking too long
    int signal = 0;     // the signal that ended it (exitCode -1)
    std::string errors; // what it wrote to stderr
    std::string output; // what it wrote to stdout
};

// Runs tesmira-cut with these arguments, killing it after timeoutSec.
CutterRun RunCutter(const std::vector<std::string>& args, int timeoutSec);

// The same in two steps, to do something to the cutter while it runs.
struct StartedCutter {
    int pid = -1;
    std::string errorsPath;
    std::string outputPath;
};
// Where the cutter's stdout and stderr go: captured, closed (as a service may start it),
// or stdout on a full device.
enum class CutterStreams { Captured, Closed, FullStdout };
// fileSizeLimit > 0: no file the cutter writes may grow past it, as on a full disk.
StartedCutter StartCutter(const std::vector<std::string>& args, long fileSizeLimit = 0,
                          CutterStreams streams = CutterStreams::Captured);
CutterRun WaitForCutter(const StartedCutter& cutter, int timeoutSec);

// Where the tesmira-cut binary is, for commands that run it through a shell.
const char* CutterPath();

// FNV-1a over the whole file; 0 for a file that cannot be read.
uint64_t FileChecksum(const std::string& path);

// Peak resident memory of this process in KiB (VmHWM), and its reset to the current size.
long PeakRssKiB();
void ResetPeakRss();

// Names of the entries of a folder.
std::vector<std::string> FolderEntries(const std::string& folder);
