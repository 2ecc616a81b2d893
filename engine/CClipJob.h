#pragma once
// One cut: a range of a source MP3, faded and changed in tempo and pitch,
// encoded into a new MP3 file on one worker thread. Reused for every cut.
#include "AudioInfo.h"
#include "CMp3File.h"
#include "CMp3enc.h"
#include "CTempoPitchStage.h"
#include "ClipStatus.h"
#include "Fades.h"
#include "LosslessCut.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Why a cut ended without reaching ClipFinished, for the caller's message.
enum class ClipFailure {
    None,
    WriteFailed, // the output could not be written completely, or vanished meanwhile
    NameTaken,   // a file took the output's name during the cut (and stays)
    ReadFailed,  // the source could not be read to the end of the range
    NoAudio,     // the range held no audio that could be decoded
};

struct CutSegment;
class Mp3SegmentEncoder;
struct WorkerSignal;

class CClipJob {
public:
    static constexpr uint32_t kInputBlockBytes = 20480;
    static constexpr uint32_t kOutputBlockBytes = 1048576;
    static constexpr int kStopWaitMs = 3000;

    // encoderLibraryPath: where OpenOutput loads the encoder library from (empty: beside the
    // executable, then the library path).
    explicit CClipJob(std::string encoderLibraryPath = {});
    ~CClipJob();
    CClipJob(const CClipJob&) = delete;
    CClipJob& operator=(const CClipJob&) = delete;

    bool OpenSource(const char* path);
    // Asked while OpenSource walks through the file: true gives the open up.
    void SetOpenCancel(CancelCheck check) { reader->SetCancelCheck(std::move(check)); }
    AudioInfo GetSourceInfo();
    // Prepares the output beside path (see CutOutputFile); the source itself is refused
    // under any name. Throws the encoder library's load error (const char*) when it
    // cannot be loaded. On false, GetOutputProblem() says why.
    bool OpenOutput(const char* path, int sampleRate, int channels,
                    OutputMode mode = OutputMode::NumberedName);
    bool SetRange(int startMs, int endMs);
    void SetFadeIn(int enabled, int startMs, int lengthMs);
    void SetFadeOut(int enabled, int startMs, int endMs);
    // Factors outside the stage's limits leave the previous change in force.
    void SetSpeed(double factor);
    void SetPitchFactor(float factor);
    // Pause after every block; the window uses 10 ms to leave the machine responsive.
    // May change while the worker runs: it reads the pause anew after each block.
    void SetThrottleMs(int ms) { throttleMs = ms; }
    // Whether an unpaused cut without tempo or pitch change may be encoded as segments on
    // two encoder streams at once (the same frames, on two processors); on by default.
    void SetSplitEncoding(bool on) { splitEncoding = on; }
    // Whether the next cut's threads (the worker, its helper and the encoder streams they
    // start) run at the lowest processor priority, taking only time nothing else wants.
    void SetLowPriority(bool on) { lowPriority = on; }
    // Copies the source's own frames instead of re-encoding them (see LosslessCut); the
    // fades, speed and pitch are then not applied, so callers refuse them with it.
    void SetLossless(bool on) { lossless = on; }
    // Whether the open source can be cut by copying its frames.
    LosslessRefusal CheckLosslessSource();
    // Whether the cut carries the source's tags in an ID3v2 tag before its audio (on by
    // default); off leaves the ID3v1 tag alone.
    void SetCarryTags(bool on) { carryTags = on; }
    // What of the source's tags the last cut could not carry, once it has ended.
    std::vector<std::string> GetTagNotes();
    void Start();
    // Stops the cut; an unfinished output is removed, never published.
    void Stop();
    // Removes the prepared output when the caller gives up on a prepared cut.
    void AbandonOutput();
    // The range as SetRange stored it (the end clamped to the source).
    int GetRangeStartMs() const { return startMs; }
    int GetRangeEndMs() const { return endMs; }

    double GetProgress();
    ClipStatus GetStatus();
    bool IsRunning() const { return running.load(); }
    ClipFailure GetFailure() const { return failure.load(); }
    OutputProblem GetOutputProblem() const { return outputProblem; }
    // When OpenOutput could not create the file: why, as an errno value.
    int GetOutputErrno() const { return outputErrno; }
    // Which step of writing the last cut's file failed (ClipFailure::WriteFailed).
    OutputFault GetOutputFault() const { return output ? output->Fault() : OutputFault{}; }
    // Where the last cut's file was published (its name may carry a number); empty while
    // it runs and when it did not finish.
    std::string GetOutputPath();
    const CTempoPitchStage& GetStage() const { return stage; }

private:
    friend void ApplyFadeIn(CClipJob& job, CMp3File& source, uint8_t* block, int bytes);
    friend void ApplyFadeOut(CClipJob& job, CMp3File& source, uint8_t* block, int bytes);

    static void CutThreadProc(CClipJob* job, std::shared_ptr<WorkerSignal> signal);
    int RunCut();
    int ReadBlocks(std::vector<uint8_t>& in, std::vector<uint8_t>& out);
    int CopyFrames();
    bool PlanSegments(std::vector<CutSegment>& segments);
    int EncodeSegments(const std::vector<CutSegment>& segments);
    int EncodeSegment(CMp3File& source, const CutSegment& s, Mp3SegmentEncoder& stream);
    void PublishSegmentProgress();
    bool EncodeBlock(const uint8_t* block, uint32_t bytes, std::vector<uint8_t>& out);
    bool FinishOutput(int result);
    bool WriteCutTag();
    void PublishProgress();
    void SetStatus(ClipStatus value);
    void FailPreparation();
    // Waits for a worker abandoned by Stop, so nothing it still uses is touched.
    void WaitForAbandonedWorker();

    const std::string encoderLibraryPath;
    std::unique_ptr<CMp3File> reader;
    std::unique_ptr<CMp3enc> encoder;
    int endMs = 0;
    int startMs = 0;
    int64_t startFrame = 0;  // the range's first sample frame
    int64_t endFrame = 0;    // the sample frame behind the last one of the range
    uint32_t frameBytes = 4; // bytes of one sample frame of the source's PCM
    double progress = 0.0;
    std::mutex progressLock;
    CTempoPitchStage stage;
    ClipStatus status = ClipIdle;
    std::mutex stateLock;
    std::atomic<bool> running{false};
    std::thread thread;
    FadeInWindow fadeIn{1, 0, 5000};
    FadeOutWindow fadeOut{0, 0, 5000};

    std::atomic<int> throttleMs{10};
    bool splitEncoding = true;
    bool lowPriority = false;
    bool lossless = false;
    bool carryTags = true;
    std::vector<std::string> tagNotes; // under stateLock
    std::atomic<ClipFailure> failure{ClipFailure::None};
    std::shared_ptr<WorkerSignal> workerSignal;
    bool workerAbandoned = false;
    FileIdentity sourceIdentity;
    OutputProblem outputProblem = OutputProblem::None;
    int outputErrno = 0;
    // The prepared output, also held here so Stop can withdraw it from a worker it gave up on.
    std::shared_ptr<CutOutputFile> output;
    std::string outputPath; // under stateLock
    std::string sourcePath; // for the second reader of a cut encoded in segments
    std::atomic<int64_t> segmentFramesDone{0};
};
