#pragma once
// One cut's life: prepared from a checked plan, run on a worker thread, stopped or ended.
// What the worker does is in CutWork; the job only hands the work over and waits for it.
// Reused for every cut.
#include "AudioInfo.h"
#include "CMp3File.h"
#include "CMp3enc.h"
#include "CutPlan.h"
#include "CutResult.h"
#include "CutWork.h"
#include "TempoPitch.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

enum class CutState {
    Idle,     // nothing prepared
    Prepared, // source and output open, not started
    Running,  // the worker is at it
    Finished, // the output was published
    Failed,   // stopped, or failed on the way: GetResult says why
};

class CClipJob {
public:
    // encoderLibraryPath: where the encoder library is loaded from (empty: beside the
    // executable, then the library path).
    explicit CClipJob(std::string encoderLibraryPath = {});
    ~CClipJob();
    CClipJob(const CClipJob&) = delete;
    CClipJob& operator=(const CClipJob&) = delete;

    // Asked while the source's open walks through the file: true gives the open up.
    void SetOpenCancel(CancelCheck check);
    // Checks the request (MakeCutPlan), then opens its source and output and sets the cut
    // up, in that order. On failure nothing is left behind, the job is Idle unless the
    // request itself was refused, and the result says what failed.
    CutResult Prepare(const CutRequest& request);
    // The range as prepared: the end clamped to the source.
    int GetRangeStartMs() const { return startMs; }
    int GetRangeEndMs() const { return endMs; }

    void Start();
    // Stops the cut and waits for its threads; an unfinished output is removed, never
    // published. A prepared cut that was not started is withdrawn, its output file removed.
    void Stop();

    CutState GetState() const { return state.load(); }
    bool IsRunning() const { return GetState() == CutState::Running; }
    // How the last cut ended (CutState::Failed).
    CutResult GetResult();
    double GetProgress() const { return progress.Get(); }
    // Where the last cut's file was published (its name may carry a number); empty while
    // it runs and when it did not finish.
    std::string GetOutputPath();
    // What of the source's tags the last cut could not carry, once it has ended.
    std::vector<std::string> GetTagNotes();

private:
    CutResult OpenSource(const CutPlan& plan);
    AudioInfo GetSourceInfo();
    CutResult SetRange(int start, int end);
    void SetFades(const CutRequest& request);
    void Run(std::stop_token stop);
    void CloseAll();

    const std::string encoderLibraryPath;
    std::unique_ptr<CMp3File> reader;
    std::unique_ptr<CMp3enc> encoder;
    CTempoPitch stage;
    std::optional<CutPlan> plan;
    FileIdentity sourceIdentity;
    CancelCheck openCancel;
    int startMs = 0;
    int endMs = 0;
    int64_t startFrame = 0;
    int64_t endFrame = 0;
    uint32_t frameBytes = 4;
    FadeInWindow fadeIn{0, 0, 0};
    FadeOutWindow fadeOut{0, 0, 0};
    CutProgress progress;

    std::atomic<CutState> state{CutState::Idle};
    std::mutex resultLock;
    CutResult result;                  // under resultLock
    std::string outputPath;            // under resultLock
    std::vector<std::string> tagNotes; // under resultLock
    std::jthread worker;
};
