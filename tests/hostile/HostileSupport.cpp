#include "HostileSupport.h"

#include "DynamicLibrary.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

const PlayerTable& Player() {
    static PlayerTable table;
    static const bool loaded = [] {
        // Never unloaded, as in the program: the player's thread lives until the process ends.
        static auto* library = new CDynamicLibrary;
        if (!library->Load(PLOVEX1_LIBRARY_PATH)) {
            std::fprintf(stderr, "%s\n", library->LastError().c_str());
            return false;
        }
#define HOSTILE_PLAYER_RESOLVE(name)                                                               \
    table.name = reinterpret_cast<PlovexFn_##name>(library->Symbol(#name));
        PLOVEX1_EXPORTS(HOSTILE_PLAYER_RESOLVE)
#undef HOSTILE_PLAYER_RESOLVE
        return true;
    }();
    (void)loaded;
    return table;
}

StartedCutter StartCutter(const std::vector<std::string>& args, long fileSizeLimit,
                          CutterStreams streams) {
    StartedCutter cutter;
    char errPath[] = "/tmp/tesmira-cutter-XXXXXX";
    const int errFd = mkstemp(errPath);
    cutter.errorsPath = errPath;
    char outPath[] = "/tmp/tesmira-cutter-XXXXXX";
    const int outFd = mkstemp(outPath);
    cutter.outputPath = outPath;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(TESMIRA_CUT));
    for (const auto& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    cutter.pid = fork();
    if (cutter.pid == 0) {
        dup2(errFd, 2);
        dup2(outFd, 1);
        if (streams == CutterStreams::Closed) {
            ::close(1);
            ::close(2);
        } else if (streams == CutterStreams::FullStdout) {
            dup2(::open("/dev/full", O_WRONLY), 1);
        }
        if (fileSizeLimit > 0) {
            const rlimit limit{static_cast<rlim_t>(fileSizeLimit),
                               static_cast<rlim_t>(fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        execv(TESMIRA_CUT, argv.data());
        _exit(127);
    }
    ::close(errFd);
    ::close(outFd);
    return cutter;
}

CutterRun WaitForCutter(const StartedCutter& cutter, int timeoutSec) {
    CutterRun run;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSec);
    bool killed = false;
    while (waitpid(cutter.pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(cutter.pid, SIGKILL);
            waitpid(cutter.pid, &status, 0);
            killed = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    run.exitCode = killed ? -2 : WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.signal = !killed && WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    std::ifstream err(cutter.errorsPath);
    run.errors.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    ::unlink(cutter.errorsPath.c_str());
    std::ifstream out(cutter.outputPath);
    run.output.assign(std::istreambuf_iterator<char>(out), std::istreambuf_iterator<char>());
    ::unlink(cutter.outputPath.c_str());
    return run;
}

const char* CutterPath() {
    return TESMIRA_CUT;
}

CutterRun RunCutter(const std::vector<std::string>& args, int timeoutSec) {
    return WaitForCutter(StartCutter(args), timeoutSec);
}

uint64_t FileChecksum(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return 0;
    }
    uint64_t hash = 1469598103934665603ull;
    char buffer[65536];
    while (in.read(buffer, sizeof(buffer)) || in.gcount() > 0) {
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            hash = (hash ^ static_cast<uint8_t>(buffer[i])) * 1099511628211ull;
        }
    }
    return hash;
}

long PeakRssKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

void ResetPeakRss() {
    // "5" resets the peak to the current resident size.
    std::ofstream("/proc/self/clear_refs") << "5";
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
        names.push_back(e.path().filename().string());
    }
    return names;
}
