#pragma once
// Runs one cut through its own job, prepared from the same plan as the window's cut, and
// tells the user what happened.
#include "CClipJob.h"
#include "CutOptions.h"
#include "ProgressDisplay.h"

#include <string>

class CutRunner {
public:
    // slot: this runner's place in the progress display.
    CutRunner(ProgressDisplay& display, int place) : progress(display), slot(place) {}
    // Prepares and starts the cut of input. kExitOk while it runs; otherwise the exit code
    // of CutExitCode, its message already shown.
    int Start(const CutOptions& options, const std::string& input);
    bool IsRunning() const { return job.IsRunning(); }
    void ShowProgress();
    // After the cut ended: shows its path or why it failed; returns its exit code.
    int Conclude();
    // Stops the running cut, removing its unfinished file; returns its exit code.
    int Interrupt();
    // An interrupt that also gives up opening a source.
    void SetInterrupt(CancelCheck check) {
        interrupted = check;
        job.SetOpenCancel(std::move(check));
    }

private:
    std::string OutputPathFor(const CutOptions& options, const std::string& source) const;
    int Fail(const std::string& message);
    int Fail(const CutResult& result);
    int Report(const std::string& path);

    CClipJob job;
    ProgressDisplay& progress;
    const int slot;
    std::string input;
    std::string output;
    CancelCheck interrupted;
    bool replacing = false; // -o --overwrite: a failed cut leaves the old file as it was
};
