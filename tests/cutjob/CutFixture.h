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
    // The range, fades and factors of request, from source into output.
    CutResult Prepare(const std::string& source, const std::string& output, CutRequest request) {
        request.source = source;
        request.output = output;
        // The cases reuse their output names: each cut replaces the one before.
        request.mode = OutputMode::ReplaceFile;
        return job.Prepare(request);
    }

    bool Start(const std::string& source, const std::string& output, const CutRequest& c) {
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
    DecodedAudio Cut(const std::string& source, const std::string& output, const CutRequest& r) {
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
