// tesmira-cut: the command-line cutter. Each input goes through a cut job of its own, as
// the window's one job does; several inputs are cut side by side.
#include "CutBatch.h"
#include "CutOptions.h"
#include "ProgressDisplay.h"
#include "StandardStreams.h"

#include <clocale>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>

#ifndef TESMIRA_VERSION
#define TESMIRA_VERSION "0"
#endif

namespace {

volatile std::sig_atomic_t interruptSignal = 0;

void OnInterrupt(int number) {
    interruptSignal = number;
}

// Ctrl-C, Ctrl-\, kill, a closed terminal, timers and the user signals (whose default is to
// end the program) end the cut without leaving half a file; progress written to a pipe that
// has closed is no reason to die mid-cut either.
void HandleSignals() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int number :
         {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGXCPU}) {
        sigaction(number, &action, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);
    // A file-size limit makes a write fail, which the cut reports and cleans up after.
    std::signal(SIGXFSZ, SIG_IGN);
}

// Ends as the signal would have, so a calling shell or script sees the interruption.
void EndIfInterrupted() {
    if (interruptSignal != 0) {
        // Without a core file: Ctrl-\ asked for an end, not for a dump beside the user's files.
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        std::signal(interruptSignal, SIG_DFL);
        std::raise(interruptSignal);
    }
}

} // namespace

int main(int argc, char** argv) {
    OpenMissingStandardStreams();
    std::setlocale(LC_ALL, "");
    CutOptions options;
    std::string error;
    if (!ParseCutOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "tesmira-cut: %s\n(tesmira-cut --help lists the options)\n",
                     error.c_str());
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(CutUsageText(), stdout);
        return kExitOk;
    }
    if (options.version) {
        std::printf("tesmira-cut %s\n", TESMIRA_VERSION);
        return kExitOk;
    }
    ProgressDisplay progress(stderr, options.jobs > 1 && options.inputs.size() > 1,
                             options.nullEnded);
    HandleSignals();
    const int result = RunCutBatch(options, progress, &interruptSignal);
    EndIfInterrupted();
    return result;
}
