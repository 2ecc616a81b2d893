#include "CClipJob.h"

#include "CutFades.h"
#include "LosslessCut.h"
#include "ThreadPriority.h"

#include <algorithm>
#include <cmath>
#include <exception>

CClipJob::CClipJob(std::string encoderPath)
    : encoderLibraryPath(std::move(encoderPath)), reader(std::make_unique<CMp3File>()) {}

CClipJob::~CClipJob() {
    Stop();
}

void CClipJob::SetOpenCancel(CancelCheck check) {
    openCancel = check;
    reader->SetCancelCheck(std::move(check));
}

CutResult CClipJob::Prepare(const CutRequest& request) {
    if (IsRunning()) {
        return CutFailed(CutError::Busy);
    }
    std::optional<CutPlan> checked;
    if (CutResult refused = MakeCutPlan(request, checked); !refused.Ok()) {
        return refused;
    }
    Stop(); // joins a worker that has ended, and closes what it left
    plan.emplace(*checked);
    CutResult failed = OpenSource(*plan);
    if (failed.Ok()) {
        const AudioInfo info = GetSourceInfo();
        encoder = std::make_unique<CMp3enc>((*plan)->output, info.sampleRate, info.stereo ? 2 : 1,
                                            encoderLibraryPath, (*plan)->mode, sourceIdentity);
        failed = encoder->OpenResult();
    }
    if (failed.Ok()) {
        failed = SetRange((*plan)->startMs, (*plan)->endMs);
    }
    if (!failed.Ok()) {
        CloseAll();
        return failed;
    }
    SetFades(**plan);
    stage.SetTempoChange(static_cast<float>((*plan)->speed * 100.0 - 100.0));
    stage.SetPitch(static_cast<float>((*plan)->pitch));
    state = CutState::Prepared;
    return {};
}

CutResult CClipJob::OpenSource(const CutPlan& p) {
    if (!reader->Open(p->source.c_str())) {
        return CutFailed(openCancel && openCancel() ? CutError::Interrupted
                                                    : CutError::SourceUnreadable,
                         0, p->source);
    }
    if (p->lossless) {
        StreamLayout layout;
        switch (reader->GetLayout(layout) ? CheckLossless(layout) : LosslessRefusal::NotLayer3) {
        case LosslessRefusal::None:
            break;
        case LosslessRefusal::NotLayer3:
            return CutFailed(CutError::LosslessNotLayer3);
        case LosslessRefusal::Junk:
            return CutFailed(CutError::LosslessJunk);
        case LosslessRefusal::Joined:
            return CutFailed(CutError::LosslessJoined);
        }
    }
    sourceIdentity = FileIdentity::Of(p->source);
    const AudioInfo info = GetSourceInfo();
    stage.Configure(info.sampleRate, info.stereo ? 2 : 1);
    frameBytes = info.stereo ? 4 : 2;
    return {};
}

AudioInfo CClipJob::GetSourceInfo() {
    AudioInfo info;
    reader->GetInfo(info);
    return info;
}

CutResult CClipJob::SetRange(int start, int end) {
    const AudioInfo info = GetSourceInfo();
    const auto durationMs = static_cast<uint32_t>(info.durationMs);
    if (durationMs < static_cast<uint32_t>(start)) {
        return CutFailed(CutError::RangeBeyondSource);
    }
    end = static_cast<int>(std::min(durationMs, static_cast<uint32_t>(end)));
    startMs = start;
    endMs = end;
    // Milliseconds become sample frames as the player rounds them.
    endFrame = std::min(std::llround(end * static_cast<double>(info.sampleRate) / 1000.0),
                        static_cast<long long>(reader->GetLengthFrames()));
    reader->SeekTo(start, durationMs);
    startFrame = reader->GetPositionFrames();
    return {};
}

// The fades asked for, fitted into the range as prepared: an end past the song was clamped,
// and the fade-out ends where the cut does.
void CClipJob::SetFades(const CutRequest& r) {
    const int lengthMs = std::min(r.endMs - r.startMs, endMs - startMs);
    const CutFades fades = MakeCutFades(r.fadeIn, r.fadeInMs, r.fadeOut, r.fadeOutMs, lengthMs);
    fadeIn = {fades.inEnabled, fades.inStartMs, fades.inLengthMs};
    fadeOut = {fades.outEnabled, fades.outStartMs, fades.outEndMs};
}

void CClipJob::CloseAll() {
    reader->Close();
    encoder.reset(); // an unpublished output is removed with it
    state = CutState::Idle;
}

void CClipJob::Start() {
    if (GetState() != CutState::Prepared) {
        return;
    }
    {
        std::lock_guard<std::mutex> hold(resultLock);
        result = {};
        outputPath.clear();
        tagNotes.clear();
    }
    state = CutState::Running;
    worker = std::jthread([this](std::stop_token stop) { Run(std::move(stop)); });
}

void CClipJob::Run(std::stop_token stop) {
    if ((*plan)->lowPriority) {
        LowerCurrentThreadPriority(); // a cut at normal priority is still a cut
    }
    CutWork w{*plan,    *reader,    *encoder, stage,   sourceIdentity,  startMs,  endMs, startFrame,
              endFrame, frameBytes, fadeIn,   fadeOut, std::move(stop), progress, {}};
    CutResult ended;
    try {
        ended = RunCutWork(w);
    } catch (const std::exception& e) {
        // SoundTouch or the allocator gave up: no cut, and no file (the encoder removes it).
        w.encoder.DiscardOutput();
        ended = CutFailed(CutError::EncodeFailed, 0, e.what());
    }
    {
        std::lock_guard<std::mutex> hold(resultLock);
        result = ended;
        tagNotes = std::move(w.tagNotes);
        if (ended.Ok()) {
            outputPath = encoder->GetPublishedPath();
        }
    }
    // The result before the state: whoever sees the worker ended also sees how.
    state = ended.Ok() ? CutState::Finished : CutState::Failed;
}

void CClipJob::Stop() {
    if (worker.joinable()) {
        worker.request_stop();
        // A cut at the lowest priority may get no processor time at all while others keep
        // it busy; it needs a little to notice the stop.
        if ((*plan)->lowPriority) {
            RaiseIdleThreadsOfProcess();
        }
        worker.join();
    }
    const CutState now = GetState();
    reader->Close();
    encoder.reset();
    if (now == CutState::Prepared || now == CutState::Running) {
        state = CutState::Idle;
    }
}

CutResult CClipJob::GetResult() {
    std::lock_guard<std::mutex> hold(resultLock);
    return result;
}

std::string CClipJob::GetOutputPath() {
    std::lock_guard<std::mutex> hold(resultLock);
    return outputPath;
}

std::vector<std::string> CClipJob::GetTagNotes() {
    std::lock_guard<std::mutex> hold(resultLock);
    return tagNotes;
}
