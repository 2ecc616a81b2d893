#pragma once
// Runs one cut through the job with the same calls, in the same order, as the
// window's cut command, and tells the user what happened.
#include "CClipJob.h"
#include "CutOptions.h"
#include "ProgressDisplay.h"

#include <csignal>
#include <string>

class CutRunner {
public:
    CutRunner(CClipJob& cutJob, ProgressDisplay& display) : job(cutJob), progress(display) {}
    // Cuts one input; returns an exit code of CutExitCode.
    int Run(const CutOptions& options, const std::string& input);
    // Set from a signal handler: the running cut stops and its unfinished file is removed.
    void SetInterruptFlag(const volatile std::sig_atomic_t* flag) { interrupt = flag; }

private:
    std::string OutputPathFor(const CutOptions& options, const std::string& input) const;
    int Fail(const std::string& input, const std::string& message, int code = kExitCutFailed);
    int Report(const std::string& path);
    int Follow(const std::string& input, const std::string& output, bool replacing);

    CClipJob& job;
    ProgressDisplay& progress;
    const volatile std::sig_atomic_t* interrupt = nullptr;
};
