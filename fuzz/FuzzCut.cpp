// A whole cut of arbitrary bytes through the cut job and the real encoder library: range,
// fades, speed and pitch come from the input, the output goes to a scratch file.
#include "CClipJob.h"
#include "CMp3File.h"
#include "EncoderLibrary.h"
#include "FuzzInput.h"
#include "FuzzTempFile.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

constexpr double kSpeeds[] = {1.0, 0.9, 0.95, 1.05, 1.1, 1.0, 1.0, 1.0};
constexpr double kPitches[] = {1.0, 0.8, 0.9, 1.1, 1.2, 1.0, 1.0, 1.0};

// Short ranges keep a run quick; some start past the end or end before they start.
CutRequest RequestFrom(const FuzzInput& in, int durationMs) {
    CutRequest r;
    r.startMs = static_cast<int>(in.Fraction(0) * durationMs * 1.1);
    const int lengthMs = in.Param(2) * 6 - 30;
    r.endMs = r.startMs + lengthMs;
    const uint8_t flags = in.Param(3);
    r.fadeIn = (flags & 1) != 0;
    r.fadeInMs = (flags & 2) ? 1000 : 200;
    r.fadeOut = ((flags >> 2) & 1) != 0;
    r.fadeOutMs = lengthMs / 2;
    r.speed = kSpeeds[(flags >> 3) & 7];
    r.pitch = kPitches[(flags >> 5) & 7];
    return r;
}

int DurationMs(const char* path) {
    CMp3File reader;
    AudioInfo info;
    if (reader.Open(path)) {
        reader.GetInfo(info);
    }
    return info.durationMs;
}

void Follow(CClipJob& job) {
    while (job.IsRunning()) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    CutResult failure;
    if (LoadEncoderLibrary("", failure) == nullptr) {
        std::fprintf(stderr, "libencmp3.so must lie beside the fuzzer\n");
        std::exit(1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FuzzTempFile source("cut-source");
    static const FuzzTempFile output("cut-output");
    const FuzzInput in(data, size, 4);
    if (!source.Write(in.FileData(), in.FileSize())) {
        return 0;
    }
    output.Remove();
    CutRequest request = RequestFrom(in, DurationMs(source.Path()));
    request.source = source.Path();
    request.output = output.Path();
    CClipJob job;
    const CutResult prepared = job.Prepare(request);
    if (!prepared.Ok()) {
        FuzzCheck(prepared.error != CutError::OutputCannotCreate,
                  "the scratch output can be created");
        FuzzCheck(!output.Exists(), "a refused cut leaves no output");
        FuzzCheck(job.GetState() == CutState::Idle, "a refused cut leaves the job idle");
        return 0;
    }
    job.Start();
    Follow(job);
    const CutState state = job.GetState();
    FuzzCheck(state == CutState::Finished || state == CutState::Failed,
              "a cut ends finished or failed");
    FuzzCheck((state == CutState::Finished) == output.Exists(),
              "a finished cut has its output, a failed one none");
    output.Remove();
    return 0;
}
