#pragma once
// Runs whole cuts through a CClipJob the way the window does, on generated MP3s.
#include "CClipJob.h"
#include "Mp3Check.h"
#include "Mp3Gen.h"
#include "TempDir.h"

#include <chrono>
#include <string>
#include <thread>

struct CutRequest {
    int startMs = 0;
    int endMs = 0;
    FadeInWindow fadeIn{0, 0, 0};
    FadeOutWindow fadeOut{0, 0, 0};
    double speed = 1.0;
    float pitch = 1.0f;
};

class CutFixture {
public:
    std::string MakeSource(const std::string& name, const mp3gen::ToneSpec& params) {
        const std::string path = dir.File(name);
        mp3gen::WriteFileBytes(path, mp3gen::MakeMp3(params));
        return path;
    }

    // Prepares and starts a cut with the window's order of calls; false if a step failed.
    bool Start(const std::string& source, const std::string& output, const CutRequest& r) {
        if (!job.OpenSource(source.c_str())) {
            return false;
        }
        const AudioInfo info = job.GetSourceInfo();
        // The cases reuse their output names: each cut replaces the one before.
        if (!job.OpenOutput(output.c_str(), info.sampleRate, info.stereo ? 2 : 1,
                            OutputMode::ReplaceFile)) {
            return false;
        }
        if (!job.SetRange(r.startMs, r.endMs)) {
            job.AbandonOutput();
            return false;
        }
        job.SetFadeIn(r.fadeIn.enabled, r.fadeIn.startMs, r.fadeIn.lengthMs);
        job.SetFadeOut(r.fadeOut.enabled, r.fadeOut.startMs, r.fadeOut.endMs);
        job.SetSpeed(r.speed);
        job.SetPitchFactor(r.pitch);
        job.SetThrottleMs(0);
        job.Start();
        return true;
    }

    void WaitForEnd() {
        while (job.IsRunning()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    // Cuts and waits; returns the decoded output (ok false if the cut did not finish).
    DecodedAudio Cut(const std::string& source, const std::string& output, const CutRequest& r) {
        if (!Start(source, output, r)) {
            return {};
        }
        WaitForEnd();
        if (job.GetStatus() != ClipFinished) {
            return {};
        }
        return DecodeMp3File(output);
    }

    TempDir dir;
    CClipJob job;
};
