#pragma once
// Runs whole cuts through a CClipJob the way the window does, on generated MP3s.
#include "CClipJob.h"
#include "Mp3Check.h"
#include "Mp3Gen.h"
#include "TempDir.h"

#include <chrono>
#include <optional>
#include <string>
#include <thread>

// A cut as the tests ask for it: a range, and what the cut request adds to it.
struct TestCut {
    int startMs = 0;
    int endMs = 0;
    bool fadeIn = false;
    int fadeInMs = 0;
    bool fadeOut = false;
    int fadeOutMs = 0;
    double speed = 1.0;
    double pitch = 1.0;
    bool carryTags = true;
    int throttleMs = 0;
};

// The reader's description of a file.
inline AudioInfo SourceInfo(const std::string& path) {
    CMp3File reader;
    AudioInfo info;
    if (reader.Open(path.c_str())) {
        reader.GetInfo(info);
    }
    return info;
}

class CutFixture {
public:
    std::string MakeSource(const std::string& name, const mp3gen::ToneSpec& params) {
        const std::string path = dir.File(name);
        mp3gen::WriteFileBytes(path, mp3gen::MakeMp3(params));
        return path;
    }

    // Prepares and starts a cut as the window does; the failure when a step failed.
    CutResult Prepare(const std::string& source, const std::string& output, const TestCut& c) {
        CutRequest r;
        r.source = source;
        r.output = output;
        // The cases reuse their output names: each cut replaces the one before.
        r.mode = OutputMode::ReplaceFile;
        r.startMs = c.startMs;
        r.endMs = c.endMs;
        r.fadeIn = c.fadeIn;
        r.fadeInMs = c.fadeInMs;
        r.fadeOut = c.fadeOut;
        r.fadeOutMs = c.fadeOutMs;
        r.speed = c.speed;
        r.pitch = c.pitch;
        r.carryTags = c.carryTags;
        r.throttleMs = c.throttleMs;
        return job.Prepare(r);
    }

    bool Start(const std::string& source, const std::string& output, const TestCut& c) {
        if (!Prepare(source, output, c).Ok()) {
            return false;
        }
        job.Start();
        return true;
    }

    void WaitForEnd() {
        while (job.IsRunning()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    // Cuts and waits; returns the decoded output (ok false if the cut did not finish).
    DecodedAudio Cut(const std::string& source, const std::string& output, const TestCut& r) {
        if (!Start(source, output, r)) {
            return {};
        }
        WaitForEnd();
        if (job.GetState() != CutState::Finished) {
            return {};
        }
        return DecodeMp3File(output);
    }

    TempDir dir;
    CClipJob job;
};
