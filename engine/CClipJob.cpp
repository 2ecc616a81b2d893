#include "CClipJob.h"

#include "CutSegments.h"
#include "ThreadPriority.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <utility>
#include <vector>

// Lets Stop wait for the worker with a time-out; shared, so a worker that
// outlives the wait never signals into freed memory.
struct WorkerSignal {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;

    bool WaitFor(std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> hold(mutex);
        return ended.wait_for(hold, timeout, [this] { return done; });
    }
    void Wait() {
        std::unique_lock<std::mutex> hold(mutex);
        ended.wait(hold, [this] { return done; });
    }
    void Signal() {
        std::lock_guard<std::mutex> hold(mutex);
        done = true;
        ended.notify_all();
    }
};

CClipJob::CClipJob(std::string encoderPath)
    : encoderLibraryPath(std::move(encoderPath)), reader(std::make_unique<CMp3File>()) {}

CClipJob::~CClipJob() {
    Stop();
    WaitForAbandonedWorker();
}

void CClipJob::SetStatus(ClipStatus value) {
    std::lock_guard<std::mutex> hold(stateLock);
    status = value;
}

void CClipJob::FailPreparation() {
    SetStatus(ClipIdle);
    reader->Close();
}

bool CClipJob::OpenSource(const char* path) {
    WaitForAbandonedWorker();
    SetStatus(ClipPrepared);
    sourceIdentity = {};
    sourcePath.clear();
    reader->Close();
    if (!reader->Open(path)) {
        FailPreparation();
        return false;
    }
    sourceIdentity = FileIdentity::Of(path);
    sourcePath = path;
    AudioInfo info;
    reader->GetInfo(info);
    stage.Configure(info.sampleRate, info.stereo ? 2 : 1);
    frameBytes = info.stereo ? 4 : 2;
    return true;
}

AudioInfo CClipJob::GetSourceInfo() {
    AudioInfo info;
    reader->GetInfo(info);
    return info;
}

bool CClipJob::OpenOutput(const char* path, int sampleRate, int channels, OutputMode mode) {
    encoder.reset();
    output.reset();
    bool ok = false;
    auto created = std::make_unique<CMp3enc>(ok, path, sampleRate, channels, encoderLibraryPath,
                                             mode, sourceIdentity);
    outputProblem = created->GetOutputProblem();
    outputErrno = created->GetCreateErrno();
    if (!ok) {
        FailPreparation();
        return false;
    }
    output = created->GetOutput();
    encoder = std::move(created);
    return true;
}

bool CClipJob::SetRange(int start, int end) {
    if (end <= start) {
        FailPreparation();
        return false;
    }
    AudioInfo info;
    reader->GetInfo(info);
    const auto durationMs = static_cast<uint32_t>(info.durationMs);
    if (durationMs < static_cast<uint32_t>(start)) {
        FailPreparation();
        return false;
    }
    if (durationMs < static_cast<uint32_t>(end)) {
        end = static_cast<int>(durationMs);
    }
    startMs = start;
    endMs = end;
    // Milliseconds become sample frames as the player rounds them.
    endFrame = std::min(std::llround(end * static_cast<double>(info.sampleRate) / 1000.0),
                        static_cast<long long>(reader->GetLengthFrames()));
    reader->SeekTo(start, durationMs);
    startFrame = reader->GetPositionFrames();
    return true;
}

void CClipJob::SetFadeIn(int enabled, int start, int lengthMs) {
    fadeIn = {enabled, start, lengthMs};
}

void CClipJob::SetFadeOut(int enabled, int start, int end) {
    fadeOut = {enabled, start, end};
}

void CClipJob::SetSpeed(double factor) {
    stage.SetTempoChange(static_cast<float>(factor * 100.0 - 100.0));
}

void CClipJob::SetPitchFactor(float factor) {
    stage.SetPitch(factor);
}

void CClipJob::Start() {
    if (running) {
        return;
    }
    WaitForAbandonedWorker();
    if (thread.joinable()) {
        thread.join();
    }
    failure = ClipFailure::None;
    {
        std::lock_guard<std::mutex> hold(stateLock);
        outputPath.clear();
    }
    running = true;
    workerSignal = std::make_shared<WorkerSignal>();
    thread = std::thread(&CClipJob::CutThreadProc, this, workerSignal);
}

void CClipJob::Stop() {
    running = false;
    if (thread.joinable()) {
        if (workerSignal->WaitFor(std::chrono::milliseconds(kStopWaitMs))) {
            thread.join();
        } else {
            // No safe way to kill a thread: let it end at its next check of `running`;
            // it still owns the reader and the encoder until then.
            thread.detach();
            workerAbandoned = true;
        }
    }
    if (workerAbandoned) {
        // Its unfinished file goes now: the process may end before the worker does.
        if (output) {
            output->Discard();
        }
    } else {
        reader->Close();
        if (encoder) {
            encoder->DiscardOutput();
            encoder.reset();
        }
    }
    output.reset();
    SetStatus(ClipIdle);
}

void CClipJob::AbandonOutput() {
    if (running || !encoder) {
        return;
    }
    encoder->DiscardOutput();
    encoder.reset();
    output.reset();
    SetStatus(ClipIdle);
}

std::string CClipJob::GetOutputPath() {
    std::lock_guard<std::mutex> hold(stateLock);
    return outputPath;
}

void CClipJob::WaitForAbandonedWorker() {
    if (workerAbandoned) {
        workerSignal->Wait();
        workerAbandoned = false;
    }
}

double CClipJob::GetProgress() {
    std::lock_guard<std::mutex> hold(progressLock);
    return progress;
}

ClipStatus CClipJob::GetStatus() {
    std::lock_guard<std::mutex> hold(stateLock);
    return status;
}

void CClipJob::CutThreadProc(CClipJob* job, std::shared_ptr<WorkerSignal> signal) {
    if (job->lowPriority) {
        LowerCurrentThreadPriority(); // a cut at normal priority is still a cut
    }
    const int result = job->RunCut();
    // Status before `running`: whoever sees the worker gone also sees how it ended.
    job->SetStatus(result == 0 ? ClipFinished : ClipIdle);
    job->running = false;
    signal->Signal();
}

void CClipJob::PublishProgress() {
    std::lock_guard<std::mutex> hold(progressLock);
    const int done = reader->GetPositionMs() - startMs;
    const int length = endMs - startMs;
    // An empty range is done as soon as it starts.
    progress = length == 0 ? 100.0 : done * 100.0 / length;
}

bool CClipJob::EncodeBlock(const uint8_t* block, uint32_t bytes, std::vector<uint8_t>& out) {
    const uint8_t* chunk = block;
    uint32_t chunkBytes = bytes;
    if (stage.IsActive()) {
        stage.Put(reinterpret_cast<const int16_t*>(block), bytes / frameBytes);
        const size_t frames =
            stage.Receive(reinterpret_cast<int16_t*>(out.data()), out.size() / frameBytes);
        chunk = out.data();
        chunkBytes = static_cast<uint32_t>(frames * frameBytes);
    }
    return encoder->EncodeChunk(chunk, chunkBytes);
}

int CClipJob::RunCut() {
    if (!encoder) {
        return 1;
    }
    {
        std::lock_guard<std::mutex> hold(progressLock);
        progress = 0.0;
    }
    std::vector<uint8_t> in(kInputBlockBytes);
    std::vector<uint8_t> out(kOutputBlockBytes);
    // Nothing SoundTouch held from an earlier cut may leak into this one.
    stage.Clear();
    std::vector<CutSegment> segments;
    int result = 1;
    if (!WriteCutTag()) {
        failure = ClipFailure::WriteFailed;
    } else {
        result = lossless                 ? CopyFrames()
                 : PlanSegments(segments) ? EncodeSegments(segments)
                                          : ReadBlocks(in, out);
    }
    reader->Close();
    const bool written = FinishOutput(result);
    return written ? result : 1;
}

// Reads the range block by block into the encoder; the last block is cut at the range's
// end. 0 at the end of the range or of the source, 1 when stopped or failed.
int CClipJob::ReadBlocks(std::vector<uint8_t>& in, std::vector<uint8_t>& out) {
    int64_t delivered = 0;
    for (;;) {
        if (!running) {
            return 1;
        }
        const int64_t left = endFrame - reader->GetPositionFrames();
        uint32_t bytes = static_cast<uint32_t>(
            std::clamp<int64_t>(left, 0, kInputBlockBytes / frameBytes) * frameBytes);
        if (bytes > 0) {
            reader->Read(in.data(), bytes);
        }
        if (bytes == 0) {
            PublishProgress();
            break;
        }
        delivered += bytes;
        ApplyFadeIn(*this, *reader, in.data(), static_cast<int>(bytes));
        ApplyFadeOut(*this, *reader, in.data(), static_cast<int>(bytes));
        if (!EncodeBlock(in.data(), bytes, out)) {
            failure = ClipFailure::WriteFailed;
            return 1;
        }
        PublishProgress();
        if (reader->GetPositionFrames() >= endFrame) {
            break;
        }
        if (const int pauseMs = throttleMs; pauseMs > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        }
    }
    // Neither a source that failed on the way nor a range without audio makes a cut.
    if (reader->ReadFailed()) {
        failure = ClipFailure::ReadFailed;
        return 1;
    }
    if (delivered == 0) {
        failure = ClipFailure::NoAudio;
        return 1;
    }
    return 0;
}

bool CClipJob::FinishOutput(int result) {
    if (result != 0) {
        // Stopped: what was written is no cut.
        encoder->DiscardOutput();
        encoder.reset();
        return false;
    }
    bool ok = failure == ClipFailure::None;
    if (ok && stage.IsActive()) {
        // What SoundTouch still holds is the end of this cut.
        std::vector<uint8_t> tail(kOutputBlockBytes);
        stage.Flush();
        const size_t frames =
            stage.Receive(reinterpret_cast<int16_t*>(tail.data()), tail.size() / frameBytes);
        ok = encoder->EncodeChunk(tail.data(), static_cast<uint32_t>(frames * frameBytes));
    }
    // A file that could not be written completely is not a cut, and is not published.
    if (!ok) {
        encoder->DiscardOutput();
    } else if (encoder->Finish()) {
        std::lock_guard<std::mutex> hold(stateLock);
        outputPath = encoder->GetPublishedPath();
    } else {
        ok = false;
    }
    if (!ok) {
        failure = encoder->GetPublishFailure() == PublishFailure::NameTaken
                      ? ClipFailure::NameTaken
                      : ClipFailure::WriteFailed;
    }
    encoder.reset();
    return ok;
}
